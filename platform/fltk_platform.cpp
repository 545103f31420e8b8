// FLTK message boxes, the warning beep, the window title and the file dialogs.
#include "platform/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include "app/help_boxes.h"
#include "platform/fltk_export_dialog.h"
#include "platform/fltk_file_dialog.h"
#include "platform/fltk_label.h"
#include "platform/fltk_questions.h"

void FltkPlatform::showMessage(const std::string& text, const std::string& caption,
                               MessageIcon icon) {
    fl_close = "OK"; // the boxes have one button, OK
    fl_message_title(caption.c_str());
    Fl_Widget* iconBox = fl_message_icon();
    // FLTK turns a tab into blanks up to a multiple of eight characters, which leaves the
    // columns of a proportional font ragged: they are lined up in the box's own font instead.
    fl_font(fl_message_font_, fl_message_size_ > 0 ? fl_message_size_ : FL_NORMAL_SIZE);
    const std::string label = escapedLabel(alignTabColumns(text, [](std::string_view part) {
        return fl_width(part.data(), static_cast<int>(part.size()));
    }));
    if (icon == MessageIcon::Warning) {
        iconBox->show();
        fl_alert("%s", label.c_str());
    } else {
        iconBox->hide();
        fl_message("%s", label.c_str());
    }
}

void FltkPlatform::warningBeep() {
    fl_beep(FL_BEEP_ERROR);
}

void FltkPlatform::setWindowTitle(const std::string& title) {
    window_.copy_label(title.c_str());
}

std::optional<std::string> FltkPlatform::askOpenPath(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> FltkPlatform::askSavePath(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

SaveChangesAnswer FltkPlatform::askSaveChanges(const std::string& question) {
    return askSaveChangesBox(question);
}

RecoveryAnswer FltkPlatform::askRecovery(const std::string& text) {
    return askRecoveryBox(text);
}

std::optional<ExportChoices> FltkPlatform::askExportChoices(const ExportChoices& initial) {
    return runExportDialog(initial);
}

bool FltkPlatform::askYesNo(const std::string& question) {
    return askYesNoBox(question);
}

void FltkPlatform::showRenderProgress(RenderProgress& progress) {
    runRenderProgress(progress);
}
