// A platform for the file command tests: records every event and answers dialogs from a queue.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/startup.h"
#include "engine/stream.h"
#include "tests/files/scratch_folder.h"

struct FakePlatform : Platform {
    std::vector<std::string> events; // "beep", "message|CAPTION|TEXT|warning", "title|TEXT"
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> dialogs;

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        events.push_back("message|" + caption + "|" + text +
                         (icon == MessageIcon::Warning ? "|warning" : "|none"));
    }
    void warningBeep() override { events.push_back("beep"); }
    void setWindowTitle(const std::string& title) override { events.push_back("title|" + title); }
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override {
        return answer(request);
    }
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override {
        return answer(request);
    }

    // Answers to the questions, in order; "question|TEXT" events record them.
    std::deque<SaveChangesAnswer> saveChangesAnswers;
    std::deque<RecoveryAnswer> recoveryAnswers;
    SaveChangesAnswer askSaveChanges(const std::string& question) override {
        events.push_back("question|" + question);
        return take(saveChangesAnswers, SaveChangesAnswer::Cancel);
    }
    RecoveryAnswer askRecovery(const std::string& text) override {
        events.push_back("question|" + text);
        return take(recoveryAnswers, RecoveryAnswer::Later);
    }
    template <class Answer> static Answer take(std::deque<Answer>& queue, Answer none) {
        if (queue.empty()) return none;
        Answer answer = queue.front();
        queue.pop_front();
        return answer;
    }

    std::optional<std::string> answer(const FileDialogRequest& request) {
        dialogs.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto path = answers.front();
        answers.pop_front();
        return path;
    }
    // The warning messages shown, in order (each must have been preceded by a beep).
    std::vector<std::string> warnings() const {
        std::vector<std::string> texts;
        for (size_t k = 0; k < events.size(); ++k) {
            const std::string& e = events[k];
            if (e.rfind("message||", 0) == 0 && e.size() > 17 &&
                e.compare(e.size() - 8, 8, "|warning") == 0) {
                bool beeped = k > 0 && events[k - 1] == "beep";
                texts.push_back((beeped ? "" : "NO BEEP:") + e.substr(9, e.size() - 17));
            }
        }
        return texts;
    }
};

// A fresh application record with the start-up song and a built stream (no sound device).
inline std::unique_ptr<AppState> makeApp() {
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    rebuildStream(app->song, app->engine, app->stream, nullptr);
    return app;
}
