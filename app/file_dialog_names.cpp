// File dialog names: typed names as paths, the default extension, the folder above, patterns.
#include "app/file_dialog_names.h"

std::string pathInFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string resolveTypedName(const std::string& folder, const std::string& typed,
                             const char* home) {
    if (!typed.empty() && typed.front() == '/') return typed;
    const bool homeGiven = home != nullptr && *home != '\0';
    if (homeGiven && typed == "~") return home;
    if (homeGiven && typed.rfind("~/", 0) == 0) return pathInFolder(home, typed.substr(2));
    return pathInFolder(folder, typed);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty()) return path;
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos) return path;
    return path + "." + extension;
}

std::string parentFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string listPattern(const std::string& pattern) {
    return pattern == "*.*" ? "*" : pattern;
}

std::string folderOfFile(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
