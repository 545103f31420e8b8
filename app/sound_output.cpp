// The sound output choice: the device list, the remembered output and its fallback.
#include "app/sound_output.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kSoundDeviceMissingTitle = "Sound Device Not Found";
constexpr int kBufferChoiceCount = static_cast<int>(std::size(kBufferFrameChoices));

} // namespace

std::vector<std::string> soundDeviceList(const std::vector<std::string>& reported) {
    std::vector<std::string> list{kSystemDefaultDevice};
    for (const std::string& name : reported)
        if (!name.empty()) list.push_back(name);
    return list;
}

SoundOutput startingSoundOutput(const Settings& settings, const std::vector<std::string>& reported,
                                std::string& message) {
    message.clear();
    SoundOutput output;
    output.bufferFrames =
        isBufferFrameChoice(settings.bufferFrames) ? settings.bufferFrames : kDefaultBufferFrames;
    if (settings.soundDevice.empty()) return output;
    if (std::find(reported.begin(), reported.end(), settings.soundDevice) != reported.end()) {
        output.device = settings.soundDevice;
        return output;
    }
    message = std::string(kSoundDeviceMissingTitle) + "\n\nThe sound device \"" +
              settings.soundDevice +
              "\" is not connected. Humbrook plays through the system default.";
    return output;
}

int soundDeviceIndex(const SoundOutput& output, const std::vector<std::string>& reported) {
    const std::vector<std::string> list = soundDeviceList(reported);
    if (output.device.empty()) return 0;
    const auto found = std::find(list.begin() + 1, list.end(), output.device);
    return found == list.end() ? 0 : static_cast<int>(found - list.begin());
}

std::string soundDeviceAt(int index, const std::vector<std::string>& reported) {
    const std::vector<std::string> list = soundDeviceList(reported);
    if (index <= 0 || index >= static_cast<int>(list.size())) return "";
    return list[static_cast<size_t>(index)];
}

int bufferFramesIndex(int frames) {
    const auto* found =
        std::find(std::begin(kBufferFrameChoices), std::end(kBufferFrameChoices), frames);
    if (found == std::end(kBufferFrameChoices))
        found = std::find(std::begin(kBufferFrameChoices), std::end(kBufferFrameChoices),
                          kDefaultBufferFrames);
    return static_cast<int>(found - std::begin(kBufferFrameChoices));
}

int bufferFramesAt(int index) {
    if (index < 0 || index >= kBufferChoiceCount) return kDefaultBufferFrames;
    return kBufferFrameChoices[index];
}

bool rememberSoundOutput(Settings& settings, const SoundOutput& output) {
    if (settings.soundDevice == output.device && settings.bufferFrames == output.bufferFrames)
        return false;
    settings.soundDevice = output.device;
    settings.bufferFrames = output.bufferFrames;
    return true;
}
