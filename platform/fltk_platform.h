// The desktop of the windowed program: FLTK message boxes, beep, title and file dialogs.
#pragma once

#include <functional>

#include "app/platform.h"

class Fl_Window;

class FltkPlatform final : public Platform {
  public:
    // `settings` are the window's, `keep` writes them.
    FltkPlatform(Fl_Window& window, Settings& settings, std::function<void()> keep)
        : window_(window), settings_(settings), keep_(std::move(keep)) {}

    // Message boxes: the warning icon for warnings, none otherwise; the caption is the box's
    // title (empty: none).
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    void warningBeep() override;
    void setWindowTitle(const std::string& title) override;
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override;
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override;
    SaveChangesAnswer askSaveChanges(const std::string& question) override;
    RecoveryAnswer askRecovery(const std::string& text) override;
    Settings& settings() override { return settings_; }
    void keepSettings() override { keep_(); }
    std::optional<ExportChoices> askExportChoices(const ExportChoices& initial) override;
    // A box with the warning icon, No and Yes.
    bool askYesNo(const std::string& question) override;
    void showRenderProgress(RenderProgress& progress) override;

  private:
    Fl_Window& window_;
    Settings& settings_;
    std::function<void()> keep_;
};
