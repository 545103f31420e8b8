// The lines of a session script, parsed into commands.
#pragma once

#include <string>
#include <string_view>

#include "app/platform.h"

enum class ScriptCommandKind {
    Key,          // key NAME
    Menu,         // menu ID
    LeftDown,     // down X Y
    Move,         // move X Y
    LeftUp,       // up X Y
    RightDown,    // rdown X Y
    Dialog,       // dialog PATH: the next file dialog returns PATH
    DialogCancel, // dialog cancel
    Steps,        // steps N
    Capture,      // capture FILE.wav
    CaptureEnd,   // capture end
    Screenshot,   // screenshot FILE.png
    Save,         // save FILE.zwv
    Open,         // open FILE.zwv
    Undo,         // undo: Edit > Undo
    Redo,         // redo: Edit > Redo
    Export,       // export FORMAT RATE once|STEPS [tail] [stems] [replace] [cancel]
    ExportCancel, // export cancel
    Answer,       // answer WORD: the next question of its kind gets this answer
    Clock,        // clock SECONDS: wall-clock time passes (the autosave's timer)
    Recovery,     // recovery: the start-up offer of left autosaves
};

// What an `export` line answers: the Export Song dialog's choices, Yes or No to replacing stem
// files that exist, and whether Cancel is pressed as soon as the export renders.
struct ScriptExportAnswer {
    ExportChoices choices;
    bool replace = false;
    bool cancelRender = false;
};

// The answers `answer` takes, as ScriptCommand::first: those of SaveChangesAnswer, then those of
// RecoveryAnswer, each in its order.
enum ScriptAnswer : int {
    kAnswerSave,
    kAnswerDontSave,
    kAnswerCancel,
    kAnswerRecover,
    kAnswerDiscard,
    kAnswerLater,
};

struct ScriptCommand {
    ScriptCommandKind kind = ScriptCommandKind::Key;
    int first = 0;                   // key code, menu id, x, step count, ScriptAnswer or seconds
    int second = 0;                  // y
    std::string path;                // dialog, capture, screenshot, save and open
    ScriptExportAnswer exportAnswer; // export
};

inline constexpr int kMaxClockSeconds = 86400; // one `clock` command: at most a day

enum class ScriptLineKind { Skip, Command, Error };

// Parses one line: blank lines and lines whose first non-blank is '#' are skipped; a line that
// names no command, or whose arguments do not fit it, is an error.
ScriptLineKind parseScriptLine(std::string_view line, ScriptCommand& command);
