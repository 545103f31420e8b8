// Scripted sessions: script lines delivered to the program exactly as the windowed program
// receives the matching events, on a sound device whose play cursor moves only when told.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/menu_bar.h"
#include "app/script_commands.h"
#include "app/scripted_platform.h"
#include "app/wav_capture.h"
#include "engine/virtual_sound_device.h"
#include "ui/screen.h"

struct AppState;

// Everything a session runs on. The window counts as active from the start.
struct ScriptSession {
    explicit ScriptSession(std::ostream& protocolOut) : platform(protocolOut) {}

    Screen screen;
    VirtualSoundDevice device;
    std::unique_ptr<AppState> app;
    MenuState menu;
    ScriptedPlatform platform; // messages, beeps and titles as protocol lines
    WavCapture capture;        // what the play cursor passes over, while capturing
    bool exited = false;       // File > Exit was chosen: later commands are not delivered
};

// Start-up as the windowed program does it, the window shown. Returns false when the screen
// cannot be set up.
bool startScriptSession(ScriptSession& session);

// Delivers one command: one pump, then the handler with its redraws. Returns an error text
// when an output file could not be written, else "".
std::string runScriptCommand(ScriptSession& session, const ScriptCommand& command);

// One step of the clock: while playing, the play cursor moves to the start of the next chunk
// (appending the chunk it leaves to a running capture); then one pump.
void advanceOneChunk(ScriptSession& session);

// Reads the whole script, then delivers its commands in order. A line that cannot be parsed is
// reported on `errors` with its line number before anything runs (exit code 2); an output file
// that cannot be written stops the session (exit code 1); otherwise 0.
int runScript(ScriptSession& session, std::istream& script, std::ostream& errors);

// Shutdown: ends a running capture and releases the stream and every buffer.
void endScriptSession(ScriptSession& session);
