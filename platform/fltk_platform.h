// The desktop of the windowed program: FLTK message boxes, beep, title and file dialogs.
#pragma once

#include "app/platform.h"

class Fl_Window;

class FltkPlatform final : public Platform {
  public:
    explicit FltkPlatform(Fl_Window& window) : window_(window) {}

    // Message boxes: the warning icon for warnings, none otherwise; the caption is the box's
    // title (empty: none).
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    void warningBeep() override;
    void setWindowTitle(const std::string& title) override;
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override;
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override;
    std::optional<ExportChoices> askExportChoices(const ExportChoices& initial) override;
    // A box with the warning icon, No and Yes.
    bool askYesNo(const std::string& question) override;
    void showRenderProgress(RenderProgress& progress) override;

  private:
    Fl_Window& window_;
};
