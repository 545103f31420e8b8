// Scripted sessions: script lines delivered to the program exactly as the windowed program
// receives the matching events, on a sound device whose play cursor moves only when told.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/autosave.h"
#include "app/edit_session.h"
#include "app/menu_bar.h"
#include "app/product_info.h"
#include "app/script_commands.h"
#include "app/scripted_platform.h"
#include "app/wav_capture.h"
#include "engine/virtual_sound_device.h"
#include "ui/screen.h"

struct AppState;

// Everything a session runs on: an AppState started on a virtual sound device (both owned by
// the caller), and the screen. The window counts as active from the start.
struct ScriptSession {
    ScriptSession(AppState& app, VirtualSoundDevice& device, std::ostream& protocolOut)
        : app(app), device(device), platform(protocolOut) {}

    AppState& app;              // New replaces its contents in place
    VirtualSoundDevice& device; // app's sound device: its cursor moves only by `steps`
    Screen screen;
    MenuState menu;
    EditSession edits;         // the edit history every command's gesture goes to
    ScriptedPlatform platform; // messages, beeps and titles as protocol lines
    WavCapture capture;        // what the play cursor passes over, while capturing
    bool exited = false;       // File > Exit was chosen: later commands are not delivered
    double clockSeconds = 0;   // the wall clock of the session, moved on by `clock`
    // Made by the first `clock` or `recovery`, under the autosave folder of the environment.
    std::unique_ptr<Autosaver> autosaver;
};

// The rest of start-up as the windowed program does it, the window shown: the screen, the
// window picture and every panel for the AppState, the edit history starting on the song as it
// is, under the window title `title`. Returns false when the screen cannot be set up.
bool startScriptSession(ScriptSession& session, const std::string& title = startupWindowTitle());

// Delivers one command: one pump, then the handler with its redraws; keys, menu commands and
// the mouse go through the edit history's gestures (app/edit_session.h). Returns an error text
// when an output file could not be written, else "".
std::string runScriptCommand(ScriptSession& session, const ScriptCommand& command);

// One step of the clock: while playing, the play cursor moves to the start of the next chunk
// (appending the chunk it leaves to a running capture); then one pump. Returns why the capture
// stopped when it could not take the chunk, else "".
std::string advanceOneChunk(ScriptSession& session);

// Reads the whole script, then delivers its commands in order. A line that cannot be parsed is
// reported on `errors` with its line number before anything runs (exit code 2); an output file
// that cannot be written stops the session (exit code 1); otherwise 0.
int runScript(ScriptSession& session, std::istream& script, std::ostream& errors);

// Runs the script in the file at `path` ("-" reads standard input) as runScript does. A script
// that cannot be read to its end (missing, a folder, a read error, over 64 MB) runs nothing and
// gives exit code 1.
int runScriptFile(ScriptSession& session, const std::string& path, std::ostream& errors);

// The end of a session: a running capture is finished (the AppState stays with its owner).
// After File > Exit the session's autosave is removed, as the window's is; a session that ends
// otherwise leaves it, as a program that was killed would. Returns an error text when the
// capture could not be finished, else "".
std::string endScriptSession(ScriptSession& session);
