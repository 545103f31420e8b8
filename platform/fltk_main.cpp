// Entry point of the windowed program: --list-sound-devices prints the sound output devices one
// a line and ends; any other argument is not read.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/sound_output.h"
#include "platform/fltk_window.h"
#include "platform/sdl_sound_device.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--list-sound-devices") {
        for (const std::string& name : soundDeviceList(sdlOutputDeviceNames()))
            std::puts(name.c_str());
        return 0;
    }
    return runWindowedProgram();
}
