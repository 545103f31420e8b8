// The windowed program: the FLTK main window with its menu bar and client picture, and the loop.
#pragma once

// Runs the windowed program: start-up, the message loop and shutdown. Returns the exit code.
int runWindowedProgram();
