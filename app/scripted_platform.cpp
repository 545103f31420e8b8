// The scripted platform: protocol lines on a stream, dialog answers from a queue.
#include "app/scripted_platform.h"

#include "app/song_render.h"

namespace {

// The words the protocol gives each answer, in the order of the answers' enums.
constexpr const char* kSaveChangesWords[] = {"save", "dont-save", "cancel"};
constexpr const char* kRecoveryWords[] = {"recover", "discard", "later"};

// The next queued answer, or `otherwise` when none is queued.
template <typename Answer> Answer takeNext(std::deque<Answer>& queue, Answer otherwise) {
    if (queue.empty()) return otherwise;
    const Answer answer = queue.front();
    queue.pop_front();
    return answer;
}

} // namespace

std::string escapeProtocolField(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

void ScriptedPlatform::showMessage(const std::string& text, const std::string& caption,
                                   MessageIcon icon) {
    if (icon == MessageIcon::Warning) warningShown_ = true;
    out_ << "message\t" << escapeProtocolField(caption) << '\t' << escapeProtocolField(text)
         << '\n';
    out_.flush();
}

void ScriptedPlatform::warningBeep() {
    out_ << "beep\twarning\n";
    out_.flush();
}

void ScriptedPlatform::setWindowTitle(const std::string& title) {
    title_ = title;
    out_ << "title\t" << escapeProtocolField(title) << '\n';
    out_.flush();
}

std::optional<std::string> ScriptedPlatform::nextAnswer() {
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPlatform::askOpenPath(const FileDialogRequest&) {
    return nextAnswer();
}

std::optional<std::string> ScriptedPlatform::askSavePath(const FileDialogRequest&) {
    return nextAnswer();
}

void ScriptedPlatform::writeQuestion(const std::string& text, const char* answer) {
    out_ << "question\t" << escapeProtocolField(text) << '\t' << answer << '\n';
    out_.flush();
}

SaveChangesAnswer ScriptedPlatform::askSaveChanges(const std::string& question) {
    const SaveChangesAnswer answer = takeNext(saveChangesAnswers_, SaveChangesAnswer::Cancel);
    writeQuestion(question, kSaveChangesWords[static_cast<int>(answer)]);
    return answer;
}

RecoveryAnswer ScriptedPlatform::askRecovery(const std::string& text) {
    const RecoveryAnswer answer = takeNext(recoveryAnswers_, RecoveryAnswer::Later);
    writeQuestion(text, kRecoveryWords[static_cast<int>(answer)]);
    return answer;
}

std::optional<ExportChoices> ScriptedPlatform::askExportChoices(const ExportChoices&) {
    if (exportAnswers_.empty() || !exportAnswers_.front()) {
        if (!exportAnswers_.empty()) exportAnswers_.pop_front();
        return std::nullopt;
    }
    exportAnswer_ = *exportAnswers_.front();
    exportAnswers_.pop_front();
    return exportAnswer_.choices;
}

bool ScriptedPlatform::askYesNo(const std::string& question) {
    const bool yes = exportAnswer_.replace;
    writeQuestion(question, yes ? "yes" : "no");
    return yes;
}

void ScriptedPlatform::showRenderProgress(RenderProgress& progress) {
    if (exportAnswer_.cancelRender) progress.cancelRequested = true;
}
