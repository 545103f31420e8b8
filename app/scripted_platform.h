// A platform without a desktop: prints protocol lines and answers file dialogs from a queue.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "app/platform.h"
#include "app/product_info.h"

// Lines written, one per event, fields separated by a tab:
//   message<TAB>CAPTION<TAB>TEXT    beep<TAB>warning    title<TAB>TEXT
// Backslash, tab and line break in CAPTION and TEXT are written as \\, \t and \n.
class ScriptedPlatform : public Platform {
  public:
    explicit ScriptedPlatform(std::ostream& out) : out_(out) {}

    // Answers for the next dialogs, in order; nothing in the queue means the user cancels.
    void queueDialogAnswer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
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

  private:
    std::optional<std::string> nextAnswer();

    std::ostream& out_;
    std::deque<std::optional<std::string>> answers_;
    bool warningShown_ = false;
    std::string title_ = startupWindowTitle();
};

// The protocol's escaping of one field.
std::string escapeProtocolField(const std::string& text);
