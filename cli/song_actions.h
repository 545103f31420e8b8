// The song actions of humbrook-render: load SONG as File > Open does, then --save as File > Save.
#pragma once

struct AppState;
struct CliOptions;
class Platform;

// Loads options.songPath (if given) with every message, the title change, the waveform
// rebuilds and the stream rebuild of File > Open; then writes options.savePath (if given) as
// File > Save writes it. The platform reports every message; the caller reads the platform's
// warning flag. Returns whether a song was opened (as File > Open would have opened it: a
// damaged song file counts, a file that is none does not).
bool runSongActions(AppState& app, const CliOptions& options, Platform& platform);
