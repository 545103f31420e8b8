// A platform for the fuzz targets: counts warnings, cancels every dialog and question.
#pragma once

#include "app/platform.h"

struct SilentPlatform : Platform {
    int warnings = 0;
    void showMessage(const std::string&, const std::string&, MessageIcon icon) override {
        warnings += icon == MessageIcon::Warning;
    }
    void warningBeep() override {}
    void setWindowTitle(const std::string&) override {}
    std::optional<std::string> askOpenPath(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> askSavePath(const FileDialogRequest&) override { return {}; }
    SaveChangesAnswer askSaveChanges(const std::string&) override {
        return SaveChangesAnswer::Cancel;
    }
    RecoveryAnswer askRecovery(const std::string&) override { return RecoveryAnswer::Later; }
};
