// Entry point of the windowed program (the command line is not read).
#include "app/fltk_window.h"

int main() {
    return runWindowedProgram();
}
