// Entry point of the windowed program (the command line is not read).
#include "platform/fltk_window.h"

int main() {
    return runWindowedProgram();
}
