// What the file commands need from the desktop: message boxes, beeps, the title and file dialogs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "files/audio_file_writer.h"

struct RenderProgress;

enum class MessageIcon { None, Warning };

struct FileDialogFilter {
    std::string description; // "Wave Files"
    std::string pattern;     // "*.wav"
};

// Parameters of an Open or Save file dialog.
struct FileDialogRequest {
    std::string presetName;                // file name shown when the dialog opens
    std::string folder;                    // folder shown first; empty: the working folder
    std::vector<FileDialogFilter> filters; // in the order the dialog lists them
    int filterIndex = 1;                   // 1-based filter chosen at first
    std::string defaultExtension;          // appended when the user types a name without one
    bool overwritePrompt = false;          // Save: ask before replacing an existing file
};

// The answers to "Save changes to NAME?".
enum class SaveChangesAnswer { Save, DontSave, Cancel };
// The answers to the offer of an autosave left by a program that no longer runs.
enum class RecoveryAnswer { Recover, Discard, Later };
inline constexpr int kMaxExportSteps = 1000000; // the most steps an export may play

// What File > Export Song asks before the file name.
struct ExportChoices {
    AudioFormat format = AudioFormat::Wav16;
    int sampleRate = 22050; // 22050 or 44100
    bool once = true;       // once through the longest play order; else `steps` steps
    int steps = 64;         // 1..kMaxExportSteps
    bool tail = false;      // then the notes end and the delays ring out (10 s at most)
    bool stems = false;     // one file per instrument instead of the mix
};

// The desktop behind the commands: the windowed program and the scripted (headless) front end
// each provide one.
class Platform {
  public:
    virtual ~Platform() = default;
    // A modal message box owned by the main window; an empty caption shows no caption.
    virtual void showMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // The system's warning sound.
    virtual void warningBeep() = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> askOpenPath(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> askSavePath(const FileDialogRequest& request) = 0;
    // Asks `question` with the buttons Save, Don't Save and Cancel; closing the box cancels.
    virtual SaveChangesAnswer askSaveChanges(const std::string& question) = 0;
    // Offers a song kept by autosave (`text` says which) with Recover, Discard and Later;
    // closing the box is Later.
    virtual RecoveryAnswer askRecovery(const std::string& text) = 0;

    // What the commands remember between runs: the folder each kind of dialog ended in and the
    // recent songs. A command that changes them calls keepSettings(), which the windowed program
    // answers by writing the settings file; elsewhere they live as long as the platform.
    virtual Settings& settings() { return settings_; }
    virtual void keepSettings() {}

    // The Export Song dialog, opened with `initial`: the choices, or nothing when cancelled. A
    // desktop without it cancels.
    virtual std::optional<ExportChoices> askExportChoices(const ExportChoices&) {
        return std::nullopt;
    }
    // A Yes/No question; true for Yes. A desktop that cannot ask answers No.
    virtual bool askYesNo(const std::string&) { return false; }
    // Shows how far a render running on another thread has come, with a Cancel button that
    // sets progress.cancelRequested, until progress.finished; the sound keeps playing meanwhile.
    // A desktop that shows nothing returns at once and the caller waits for the render.
    virtual void showRenderProgress(RenderProgress&) {}

  private:
    Settings settings_;
};

// A failure as the program reports every one: warning beep, then a message box without caption
// and with the warning icon.
inline void showWarning(Platform& platform, const std::string& text) {
    platform.warningBeep();
    platform.showMessage(text, "", MessageIcon::Warning);
}
