// The Open and Save dialog: folder line with Up, the file list, the name field, the file type
// and the two buttons; a modal window run by FLTK's own loop.
#include "platform/fltk_file_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>
#include <FL/fl_ask.H>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "app/file_dialog_names.h"
#include "platform/fltk_dialog_buttons.h"
#include "platform/fltk_label.h"

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 380;

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The folder as the system names it (no "..", no links), or as given when it cannot say.
std::string canonicalFolder(const std::string& folder) {
    char resolved[PATH_MAX];
    return realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder;
}

std::string workingFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

class FileDialog {
  public:
    FileDialog(const FileDialogRequest& request, bool save);
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    std::optional<std::string> run();

  private:
    static void onList(Fl_Widget*, void* self) { static_cast<FileDialog*>(self)->listClicked(); }
    static void onUp(Fl_Widget*, void* self) { static_cast<FileDialog*>(self)->goUp(); }
    static void onType(Fl_Widget*, void* self) { static_cast<FileDialog*>(self)->typeChosen(); }
    static void onAccept(Fl_Widget*, void* self) { static_cast<FileDialog*>(self)->accept(); }
    static void onCancel(Fl_Widget*, void* self) { static_cast<FileDialog*>(self)->cancel(); }

    void showFolder(const std::string& folder);
    void listClicked();
    void goUp() { showFolder(parentFolder(folder_)); }
    void typeChosen();
    void accept();
    void cancel() { window_.hide(); }
    std::optional<std::string> chosenFile(const std::string& path);
    bool replaceConfirmed(const std::string& path);

    const FileDialogRequest& request_;
    const bool save_;
    std::string folder_; // absolute path of the folder shown
    std::optional<std::string> result_;
    Fl_Double_Window window_;
    Fl_Output* folderField_;
    Fl_File_Browser* list_;
    Fl_Input* nameField_;
    Fl_Choice* typeChoice_;
};

FileDialog::FileDialog(const FileDialogRequest& request, bool save)
    : request_(request), save_(save), window_(kWidth, kHeight, save ? "Save As" : "Open") {
    folderField_ = new Fl_Output(70, 10, kWidth - 150, 25, "Folder:");
    auto* up = new Fl_Button(kWidth - 70, 10, 60, 25, "Up");
    up->callback(onUp, this);
    list_ = new Fl_File_Browser(10, 45, kWidth - 20, kHeight - 175);
    list_->type(FL_HOLD_BROWSER);
    list_->format_char(0);               // names are shown as they are, '@' included
    list_->when(FL_WHEN_RELEASE_ALWAYS); // a second click on the same line is a double click
    list_->callback(onList, this);
    nameField_ = new Fl_Input(70, kHeight - 120, kWidth - 80, 25, "Name:");
    typeChoice_ = new Fl_Choice(70, kHeight - 85, kWidth - 80, 25, "Type:");
    for (const FileDialogFilter& filter : request.filters)
        typeChoice_->add(filter.description.c_str(), 0, nullptr, nullptr, 0);
    typeChoice_->callback(onType, this);
    finishDialog(window_, save ? "Save" : "Open", onAccept, onCancel, this);
    const int first = request.filterIndex - 1;
    if (first >= 0 && first < typeChoice_->size() - 1)
        typeChoice_->value(first);
    else if (typeChoice_->size() > 1)
        typeChoice_->value(0);
    nameField_->value(request.presetName.c_str());
}

void FileDialog::showFolder(const std::string& folder) {
    folder_ = canonicalFolder(folder);
    folderField_->value(folder_.c_str());
    typeChosen();
}

void FileDialog::typeChosen() {
    const int index = typeChoice_->value();
    const bool known = index >= 0 && index < static_cast<int>(request_.filters.size());
    const std::string pattern = known ? listPattern(request_.filters[index].pattern) : "*";
    list_->filter(pattern.c_str());
    list_->load(folder_.c_str());
}

// One click on a file puts its name into the name field; a double click on a folder opens it,
// on a file chooses it.
void FileDialog::listClicked() {
    const int line = list_->value();
    if (line < 1) return;
    std::string name = list_->text(line);
    const bool folder = !name.empty() && name.back() == '/';
    if (folder) {
        if (Fl::event_clicks() > 0) {
            // The next click in the new folder starts afresh, however soon it comes.
            Fl::event_is_click(0);
            showFolder(pathInFolder(folder_, name));
        }
        return;
    }
    nameField_->value(name.c_str());
    if (Fl::event_clicks() > 0) {
        Fl::event_is_click(0);
        accept();
    }
}

// The typed name taken as a path: a folder is opened; a file (Open: one that exists) is chosen.
void FileDialog::accept() {
    const std::string typed = nameField_->value();
    if (typed.empty()) return;
    const std::string path = resolveTypedName(folder_, typed, std::getenv("HOME"));
    if (isFolder(path)) {
        showFolder(path);
        nameField_->value("");
        nameField_->take_focus();
        return;
    }
    if (std::optional<std::string> file = chosenFile(path)) {
        result_ = std::move(file);
        window_.hide();
        return;
    }
    nameField_->take_focus();
}

// Open takes the name as typed, or with the default extension, of a file that exists (else it
// beeps); Save adds the extension to a name without one and asks before it replaces a file.
std::optional<std::string> FileDialog::chosenFile(const std::string& path) {
    const std::string completed = withDefaultExtension(path, request_.defaultExtension);
    if (!save_) {
        if (exists(path)) return path;
        if (exists(completed)) return completed;
        fl_beep(FL_BEEP_ERROR);
        return std::nullopt;
    }
    if (request_.overwritePrompt && exists(completed) && !replaceConfirmed(completed))
        return std::nullopt;
    return completed;
}

bool FileDialog::replaceConfirmed(const std::string& path) {
    fl_message_title("");
    fl_message_icon()->show();
    const std::string question =
        escapedLabel(path) + " already exists.\nDo you want to replace it?";
    return fl_choice("%s", "No", "Yes", nullptr, question.c_str()) == 1;
}

std::optional<std::string> FileDialog::run() {
    // The folder the request names, unless it has gone since: then the working folder.
    showFolder(isFolder(request_.folder) ? request_.folder : workingFolder());
    window_.show();
    nameField_->take_focus();
    nameField_->position(0, nameField_->size()); // the preset name is replaced by typing
    while (window_.shown()) Fl::wait();
    return result_;
}

} // namespace

std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save) {
    FileDialog dialog(request, save);
    return dialog.run();
}
