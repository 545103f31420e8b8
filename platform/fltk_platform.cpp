// FLTK message boxes, the warning beep, the window title and the file dialogs.
#include "platform/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <sys/stat.h>

namespace {

// "Humbrook Files\t*.zwv\nAll Files\t*.*": the chooser's filter list.
std::string chooserFilter(const FileDialogRequest& request) {
    std::string filter;
    for (const FileDialogFilter& entry : request.filters) {
        if (!filter.empty()) filter += '\n';
        filter += entry.description + '\t' + entry.pattern;
    }
    return filter;
}

// Message boxes draw their text as a label, where '@' starts a symbol: "@@" shows one '@'.
std::string labelText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        escaped += c;
        if (c == '@') escaped += '@';
    }
    return escaped;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The default extension is added to a chosen name whose last component has none.
std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty()) return path;
    size_t slash = path.find_last_of('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos) return path;
    return path + "." + extension;
}

} // namespace

void FltkPlatform::showMessage(const std::string& text, const std::string& caption,
                               MessageIcon icon) {
    fl_close = "OK"; // the boxes have one button, OK
    fl_message_title(caption.c_str());
    Fl_Widget* iconBox = fl_message_icon();
    const std::string label = labelText(text);
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
    return askPath(request, false);
}

std::optional<std::string> FltkPlatform::askSavePath(const FileDialogRequest& request) {
    return askPath(request, true);
}

std::optional<std::string> FltkPlatform::askPath(const FileDialogRequest& request, bool save) {
    Fl_Native_File_Chooser chooser;
    chooser.type(save ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                      : Fl_Native_File_Chooser::BROWSE_FILE);
    if (save && request.overwritePrompt) chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM);
    std::string filter = chooserFilter(request);
    chooser.filter(filter.c_str());
    chooser.filter_value(request.filterIndex - 1);
    chooser.preset_file(request.presetName.c_str());
    if (chooser.show() != 0 || chooser.filename() == nullptr || *chooser.filename() == '\0')
        return std::nullopt;
    std::string path = chooser.filename();
    std::string completed = withDefaultExtension(path, request.defaultExtension);
    // The chooser asked about the name as typed; a name that the extension turns into an
    // existing file is asked about here.
    if (save && request.overwritePrompt && completed != path && fileExists(completed)) {
        fl_message_title("");
        fl_message_icon()->show();
        std::string question =
            labelText(completed) + " already exists.\nDo you want to replace it?";
        if (fl_choice("%s", "No", "Yes", nullptr, question.c_str()) != 1) return std::nullopt;
    }
    return completed;
}
