// A platform without a desktop: prints protocol lines and answers file dialogs from a queue.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "app/platform.h"

// Lines written, one per event, fields separated by a tab:
//   message<TAB>CAPTION<TAB>TEXT    beep<TAB>warning    title<TAB>TEXT
//   question<TAB>TEXT<TAB>ANSWER    (ANSWER: save, dont-save, cancel, recover, discard, later)
// Backslash, tab and line break in CAPTION and TEXT are written as \\, \t and \n.
class ScriptedPlatform : public Platform {
  public:
    explicit ScriptedPlatform(std::ostream& out) : out_(out) {}

    // Answers for the next dialogs, in order; nothing in the queue means the user cancels.
    void queueDialogAnswer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
    // Answers for the next questions of each kind, in order; with none queued "Save changes?"
    // is cancelled and an autosave is kept for later.
    void queueSaveChangesAnswer(SaveChangesAnswer answer) { saveChangesAnswers_.push_back(answer); }
    void queueRecoveryAnswer(RecoveryAnswer answer) { recoveryAnswers_.push_back(answer); }
    // True once a message box with the warning icon was shown.
    bool warningShown() const { return warningShown_; }

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    void warningBeep() override;
    void setWindowTitle(const std::string& title) override;
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override;
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override;
    SaveChangesAnswer askSaveChanges(const std::string& question) override;
    RecoveryAnswer askRecovery(const std::string& text) override;

  private:
    void writeQuestion(const std::string& text, const char* answer);

    std::optional<std::string> nextAnswer();

    std::ostream& out_;
    std::deque<std::optional<std::string>> answers_;
    std::deque<SaveChangesAnswer> saveChangesAnswers_;
    std::deque<RecoveryAnswer> recoveryAnswers_;
    bool warningShown_ = false;
};

// The protocol's escaping of one field.
std::string escapeProtocolField(const std::string& text);
