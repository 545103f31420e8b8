// The command line of humbrook-render: one record of options, parsed with getopt_long.
#pragma once

#include <string>

#include "files/audio_file_writer.h"

// Every option of the command line. An option that asks for an action (render, and later
// ones such as saving or a screenshot) is one field here, one entry in the option table of
// options.cpp and one test in hasAction; main runs the actions in a fixed order.
struct CliOptions {
    // -o, --output FILE.wav: render the song into this WAV file.
    std::string renderOutput;
    // -n, --steps N: steps to render, 1..1000000.
    int renderSteps = 64;
    bool stepsGiven = false; // -n was given (it cannot be combined with --once)
    // --format wav16|wav24|wavf32|flac16|flac24|ogg: how -o writes; wav16 by default.
    AudioFormat renderFormat = AudioFormat::Wav16;
    // --once: render once through the longest play order instead of -n steps.
    bool renderOnce = false;
    // --tail: after the last step, let the notes sounding end and the delays ring out (until a
    // step is below -90 dBFS, at most 10 seconds).
    bool renderTail = false;
    // --stems: one file per instrument (OUT-1.EXT .. OUT-4.EXT) instead of the mix.
    bool renderStems = false;
    // -r, --rate 22050|44100: stream sample rate.
    int sampleRate = 22050;
    // -l, --latency 1|2|3: note latency in chunks.
    int noteLatency = 1;
    // SONG.zwv, the one argument that is no option: loaded first, as File > Open loads it.
    std::string songPath;
    // --save FILE.zwv: after the load, the song is saved there as File > Save saves it.
    std::string savePath;
    // --screenshot FILE.png: after the load, every panel drawn and the window written as a PNG.
    std::string screenshotPath;
    // --zoom 1..4: the --screenshot picture at this zoom, every pixel repeated.
    int screenshotZoom = 1;
    // --script FILE ("-" = standard input): a session script run after the save.
    std::string scriptPath;
};

// The usage line printed on stderr with a usage error.
extern const char* const kCliUsage;

// Parses the command line into `options`. Returns false with a message in `error` on an
// unknown option, a bad value, a stray argument or when no action is asked for.
bool parseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// True when the options ask for at least one action.
bool hasAction(const CliOptions& options);
