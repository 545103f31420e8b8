// The command line of humbrook-render: one record of options, parsed with getopt_long.
#include "cli/options.h"

#include <cerrno>
#include <cstdlib>
#include <getopt.h>

const char* const kCliUsage =
    "usage: humbrook-render [-o OUT.wav] [-n STEPS] [-r 22050|44100] [-l 1|2|3] "
    "[--format wav16|wav24|wavf32|flac16|flac24|ogg] [--once] [--tail] [--stems] "
    "[--save FILE.zwv] [--screenshot FILE.png [--zoom 1|2|3|4]] [--script FILE|-] [SONG.zwv]";

namespace {

constexpr int kSaveOption = 256; // --save has no short form
constexpr int kScriptOption = 257;
constexpr int kScreenshotOption = 258;
constexpr int kZoomOption = 259;
constexpr int kFormatOption = 260;
constexpr int kOnceOption = 261;
constexpr int kTailOption = 262;
constexpr int kStemsOption = 263;

// The long options; the short ones are in kShortOptions.
const option kLongOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"steps", required_argument, nullptr, 'n'},
    {"rate", required_argument, nullptr, 'r'},
    {"latency", required_argument, nullptr, 'l'},
    {"save", required_argument, nullptr, kSaveOption},
    {"script", required_argument, nullptr, kScriptOption},
    {"screenshot", required_argument, nullptr, kScreenshotOption},
    {"zoom", required_argument, nullptr, kZoomOption},
    {"format", required_argument, nullptr, kFormatOption},
    {"once", no_argument, nullptr, kOnceOption},
    {"tail", no_argument, nullptr, kTailOption},
    {"stems", no_argument, nullptr, kStemsOption},
    {nullptr, 0, nullptr, 0},
};
const char* const kShortOptions = ":o:n:r:l:";

// A whole decimal number within lo..hi, or false.
bool parseInt(const char* text, int lo, int hi, int& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < lo || parsed > hi) return false;
    value = static_cast<int>(parsed);
    return true;
}

// Applies one parsed option; false with a message for a bad value.
bool applyOption(int code, const char* value, CliOptions& options, std::string& error) {
    switch (code) {
    case 'o':
        options.renderOutput = value;
        if (options.renderOutput.empty()) error = "empty output file name";
        return !options.renderOutput.empty();
    case 'n':
        options.stepsGiven = true;
        if (parseInt(value, 1, 1000000, options.renderSteps)) return true;
        error = "steps must be 1 to 1000000";
        return false;
    case 'r':
        if (parseInt(value, 22050, 44100, options.sampleRate) &&
            (options.sampleRate == 22050 || options.sampleRate == 44100))
            return true;
        error = "rate must be 22050 or 44100";
        return false;
    case 'l':
        if (parseInt(value, 1, 3, options.noteLatency)) return true;
        error = "latency must be 1, 2 or 3";
        return false;
    case kSaveOption:
        options.savePath = value;
        if (options.savePath.empty()) error = "empty song file name";
        return !options.savePath.empty();
    case kScriptOption:
        options.scriptPath = value;
        if (options.scriptPath.empty()) error = "empty script file name";
        return !options.scriptPath.empty();
    case kScreenshotOption:
        options.screenshotPath = value;
        if (options.screenshotPath.empty()) error = "empty screenshot file name";
        return !options.screenshotPath.empty();
    case kZoomOption:
        if (parseInt(value, 1, 4, options.screenshotZoom)) return true;
        error = "zoom must be 1, 2, 3 or 4";
        return false;
    case kFormatOption:
        if (parseAudioFormat(value, options.renderFormat)) return true;
        error = "format must be wav16, wav24, wavf32, flac16, flac24 or ogg";
        return false;
    case kOnceOption:
        options.renderOnce = true;
        return true;
    case kTailOption:
        options.renderTail = true;
        return true;
    case kStemsOption:
        options.renderStems = true;
        return true;
    default:
        error = "unknown option";
        return false;
    }
}

// The render choices need -o, and --once replaces -n.
bool checkRenderChoices(const CliOptions& options, std::string& error) {
    const bool choices = options.renderOnce || options.renderTail || options.renderStems ||
                         options.renderFormat != AudioFormat::Wav16;
    if (choices && options.renderOutput.empty()) {
        error = "--format, --once, --tail and --stems need -o";
        return false;
    }
    if (options.renderOnce && options.stepsGiven) {
        error = "--once and -n cannot be combined";
        return false;
    }
    return true;
}

// Applies an argument that is not an option: the one song file to load.
bool applyPositional(const char* argument, CliOptions& options, std::string& error) {
    if (options.songPath.empty() && *argument != '\0') {
        options.songPath = argument;
        return true;
    }
    error = std::string("unexpected argument: ") + argument;
    return false;
}

} // namespace

bool hasAction(const CliOptions& options) {
    return !options.renderOutput.empty() || !options.songPath.empty() ||
           !options.savePath.empty() || !options.scriptPath.empty() ||
           !options.screenshotPath.empty();
}

bool parseCliOptions(int argc, char** argv, CliOptions& options, std::string& error) {
    optind = 1;
    opterr = 0; // messages are ours
    int code;
    while ((code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1) {
        if (code == '?') {
            error = "unknown option";
            return false;
        }
        if (code == ':') {
            error = "missing value for an option";
            return false;
        }
        if (!applyOption(code, optarg, options, error)) return false;
    }
    for (int i = optind; i < argc; ++i)
        if (!applyPositional(argv[i], options, error)) return false;
    if (options.screenshotZoom != 1 && options.screenshotPath.empty()) {
        error = "--zoom needs --screenshot";
        return false;
    }
    if (!hasAction(options)) {
        error = "nothing to do";
        return false;
    }
    return checkRenderChoices(options, error);
}
