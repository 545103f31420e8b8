// A platform without a desktop: prints protocol lines and answers file dialogs from a queue.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "app/platform.h"
#include "app/product_info.h"
#include "app/script_commands.h"

// Lines written, one per event, fields separated by a tab:
//   message<TAB>CAPTION<TAB>TEXT    beep<TAB>warning    title<TAB>TEXT
//   question<TAB>TEXT<TAB>ANSWER    (the answer given: yes, no, save, dont-save, cancel, recover,
//                                    discard or later)
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
    // Answers for the next Export Song dialogs, in order; nothing in the queue cancels. The
    // answer taken also answers that export's replace question and its progress box.
    void queueExportAnswer(std::optional<ScriptExportAnswer> answer) {
        exportAnswers_.push_back(std::move(answer));
    }
    // True once a message box with the warning icon was shown.
    bool warningShown() const { return warningShown_; }
    // The title last set, or the start-up title.
    const std::string& windowTitle() const { return title_; }

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    void warningBeep() override;
    void setWindowTitle(const std::string& title) override;
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override;
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override;
    SaveChangesAnswer askSaveChanges(const std::string& question) override;
    RecoveryAnswer askRecovery(const std::string& text) override;
    std::optional<ExportChoices> askExportChoices(const ExportChoices& initial) override;
    bool askYesNo(const std::string& question) override;
    // Returns at once; with the answer's `cancel` it presses Cancel first.
    void showRenderProgress(RenderProgress& progress) override;

  private:
    void writeQuestion(const std::string& text, const char* answer);

    std::optional<std::string> nextAnswer();

    std::ostream& out_;
    std::deque<std::optional<std::string>> answers_;
    std::deque<SaveChangesAnswer> saveChangesAnswers_;
    std::deque<RecoveryAnswer> recoveryAnswers_;
    std::deque<std::optional<ScriptExportAnswer>> exportAnswers_;
    ScriptExportAnswer exportAnswer_; // the answer of the export under way
    bool warningShown_ = false;
    std::string title_ = startupWindowTitle();
};

// The protocol's escaping of one field.
std::string escapeProtocolField(const std::string& text);
