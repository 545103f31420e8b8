// Scripted sessions: the same handlers as the window, driven by script lines.
#include "app/script_session.h"

#include <ostream>
#include <sstream>
#include <vector>

#include "app/app_state.h"
#include "app/menu_commands.h"
#include "app/panel_redraw.h"
#include "app/recording_control.h"
#include "app/recovery.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "files/file_bytes.h"

namespace {

constexpr int kDisplayBytesPerPixel = 4;             // as the windowed program's picture
constexpr size_t kMaxScriptBytes = size_t{64} << 20; // far more than any script needs

struct NumberedCommand {
    int line;
    ScriptCommand command;
};

void pump(ScriptSession& session) {
    pumpAndRedraw(session.app, session.screen);
    reportRecordingFailures(session.app, session.platform);
}

InputTargets targetsOf(ScriptSession& session) {
    return {session.app, session.screen, session.platform, session.menu, session.edits};
}

MenuOutcome deliverInput(ScriptSession& session, InputKind kind, int first, int second = 0) {
    InputTargets targets = targetsOf(session);
    return deliverInput(targets, {kind, first, second});
}

void chooseMenu(ScriptSession& session, int id) {
    if (deliverInput(session, InputKind::Menu, id) == MenuOutcome::Exit) session.exited = true;
}

std::string startCapture(ScriptSession& session, const std::string& path) {
    if (beginWavCapture(session.capture, path, session.app.engine.streamRate)) return "";
    return "cannot write " + path;
}

std::string finishCapture(ScriptSession& session) {
    return endWavCapture(session.capture) ? "" : "cannot finish the capture file";
}

Autosaver& autosaver(ScriptSession& session) {
    if (!session.autosaver)
        session.autosaver = std::make_unique<Autosaver>(autosaveRootFromEnvironment());
    return *session.autosaver;
}

// The window's autosave timer ticks once a second; each write is waited for, so that a script
// sees the same files whatever the disk's speed.
void passClockSeconds(ScriptSession& session, int seconds) {
    Autosaver& saver = autosaver(session);
    AppState& app = session.app;
    for (int second = 0; second < seconds; ++second) {
        session.clockSeconds += 1;
        saver.tick(app.song, app.songPath, songModified(session.edits, app), session.clockSeconds,
                   session.platform.settings().autosaveSeconds);
        saver.waitIdle();
    }
}

void queueAnswer(ScriptedPlatform& platform, int answer) {
    static_assert(kAnswerDontSave - kAnswerSave == static_cast<int>(SaveChangesAnswer::DontSave) &&
                  kAnswerCancel - kAnswerSave == static_cast<int>(SaveChangesAnswer::Cancel) &&
                  kAnswerDiscard - kAnswerRecover == static_cast<int>(RecoveryAnswer::Discard) &&
                  kAnswerLater - kAnswerRecover == static_cast<int>(RecoveryAnswer::Later));
    if (answer <= kAnswerCancel)
        platform.queueSaveChangesAnswer(static_cast<SaveChangesAnswer>(answer - kAnswerSave));
    else
        platform.queueRecoveryAnswer(static_cast<RecoveryAnswer>(answer - kAnswerRecover));
}

std::string takeScreenshot(ScriptSession& session, const std::string& path) {
    return writeScreenshotPng(session.screen.display, path) ? "" : "cannot write " + path;
}

// The handler of one command, after its pump.
std::string deliver(ScriptSession& session, const ScriptCommand& command) {
    switch (command.kind) {
    case ScriptCommandKind::Key:
        deliverInput(session, InputKind::Key, command.first);
        break;
    case ScriptCommandKind::Menu:
        chooseMenu(session, command.first);
        break;
    case ScriptCommandKind::Undo:
        chooseMenu(session, kMenuUndo);
        break;
    case ScriptCommandKind::Redo:
        chooseMenu(session, kMenuRedo);
        break;
    case ScriptCommandKind::LeftDown:
        deliverInput(session, InputKind::LeftDown, command.first, command.second);
        break;
    case ScriptCommandKind::Move:
        deliverInput(session, InputKind::Move, command.first, command.second);
        break;
    case ScriptCommandKind::LeftUp:
        deliverInput(session, InputKind::LeftUp, command.first, command.second);
        break;
    case ScriptCommandKind::RightDown:
        deliverInput(session, InputKind::RightDown, command.first, command.second);
        break;
    case ScriptCommandKind::Dialog:
        session.platform.queueDialogAnswer(command.path);
        break;
    case ScriptCommandKind::DialogCancel:
        session.platform.queueDialogAnswer(std::nullopt);
        break;
    case ScriptCommandKind::Save: // always to the path given, whichever file the song has
        session.platform.queueDialogAnswer(command.path);
        chooseMenu(session, kMenuSaveAs);
        break;
    case ScriptCommandKind::Open:
        session.platform.queueDialogAnswer(command.path);
        chooseMenu(session, kMenuOpen);
        break;
    case ScriptCommandKind::Export:
        session.platform.queueExportAnswer(command.exportAnswer);
        break;
    case ScriptCommandKind::ExportCancel:
        session.platform.queueExportAnswer(std::nullopt);
        break;
    case ScriptCommandKind::Capture:
        return startCapture(session, command.path);
    case ScriptCommandKind::CaptureEnd:
        return finishCapture(session);
    case ScriptCommandKind::Screenshot:
        return takeScreenshot(session, command.path);
    case ScriptCommandKind::Answer:
        queueAnswer(session.platform, command.first);
        break;
    case ScriptCommandKind::Clock:
        passClockSeconds(session, command.first);
        break;
    case ScriptCommandKind::Recovery: {
        InputTargets targets = targetsOf(session);
        offerRecovery(targets, autosaver(session));
        break;
    }
    case ScriptCommandKind::Steps:
        break; // its pumps are the clock steps themselves
    }
    return "";
}

} // namespace

bool startScriptSession(ScriptSession& session, const std::string& title) {
    if (!initScreen(session.screen, kDisplayBytesPerPixel)) return false;
    renderAllPanels(session.app, session.screen);
    finishStartup(session.app, session.screen);
    startEditSession(session.edits, session.menu, session.app.song, {title, session.app.songPath});
    return true;
}

std::string advanceOneChunk(ScriptSession& session) {
    AppState& app = session.app;
    const int chunkBytes = 4 * app.engine.chunkFrames;
    const int bufferBytes = session.device.bufferSize();
    std::string error;
    if (app.engine.playing && chunkBytes > 0 && bufferBytes >= chunkBytes) {
        const int chunk = session.device.playCursor() / chunkBytes;
        const int chunkStart = chunk * chunkBytes;
        if (capturing(session.capture) && chunkStart + chunkBytes <= bufferBytes)
            appendWavCapture(session.capture, session.device.bufferBytes() + chunkStart, chunkBytes,
                             error);
        session.device.setPlayCursor((chunk + 1) % kRingChunks * chunkBytes);
    }
    pump(session);
    return error;
}

std::string runScriptCommand(ScriptSession& session, const ScriptCommand& command) {
    if (command.kind == ScriptCommandKind::Steps) {
        for (int i = 0; i < command.first; ++i) {
            std::string error = advanceOneChunk(session);
            if (!error.empty()) return error;
        }
        return "";
    }
    pump(session);
    return deliver(session, command);
}

int runScript(ScriptSession& session, std::istream& script, std::ostream& errors) {
    std::vector<NumberedCommand> commands;
    std::string text;
    for (int line = 1; std::getline(script, text); ++line) {
        ScriptCommand command;
        ScriptLineKind kind = parseScriptLine(text, command);
        if (kind == ScriptLineKind::Error) {
            errors << "script line " << line << ": cannot parse \"" << text << "\"\n";
            return 2;
        }
        if (kind == ScriptLineKind::Command) commands.push_back({line, std::move(command)});
    }
    for (const NumberedCommand& numbered : commands) {
        if (session.exited) break;
        std::string failure = runScriptCommand(session, numbered.command);
        if (!failure.empty()) {
            errors << "script line " << numbered.line << ": " << failure << "\n";
            return 1;
        }
    }
    return 0;
}

int runScriptFile(ScriptSession& session, const std::string& path, std::ostream& errors) {
    FileBytes file;
    const FileOpenResult read = readInputBytes(path, file, kMaxScriptBytes);
    if (read == FileOpenResult::TooLarge) {
        errors << "the script " << path << " is larger than 64 MB\n";
        return 1;
    }
    if (read != FileOpenResult::Opened || file.readFailed) {
        errors << "cannot read the script " << path << "\n";
        return 1;
    }
    std::istringstream script(std::string(reinterpret_cast<const char*>(file.data), file.size));
    closeFileBytes(file);
    return runScript(session, script, errors);
}

std::string endScriptSession(ScriptSession& session) {
    if (session.autosaver && session.exited) session.autosaver->removeAutosave();
    session.autosaver.reset();
    return finishCapture(session);
}
