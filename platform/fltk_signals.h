// SIGTERM, SIGINT and SIGHUP for the windowed program: the handler only writes a byte to a pipe,
// and FLTK's loop, which watches the pipe, runs the program's reaction between events.
#pragma once

// Installs the handlers and has FLTK call `onSignal(data)` once a signal arrived. False when the
// pipe cannot be made (the signals then keep their default action, ending the program at once).
bool watchEndSignals(void (*onSignal)(void* data), void* data);
