// The windowed program's sound output: the remembered one at start, the dialog's choice later.
#include "platform/fltk_sound_output.h"

#include "platform/fltk_sound_device_dialog.h"
#include "platform/sdl_sound_device.h"

std::unique_ptr<SoundDevice> openRememberedSoundOutput(const Settings& settings,
                                                       SoundOutput& output, std::string& message) {
    output = startingSoundOutput(settings, sdlOutputDeviceNames(), message);
    return openSdlSoundDevice(output.device, output.bufferFrames);
}

bool chooseSoundOutput(SoundDevice& device, SoundOutput& output) {
    const std::optional<SoundOutput> chosen = askSoundOutput(sdlOutputDeviceNames(), output);
    if (!chosen) return false;
    if (*chosen != output || device.isSilent())
        reopenSdlSoundDevice(device, chosen->device, chosen->bufferFrames);
    output = *chosen;
    return true;
}
