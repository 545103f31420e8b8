// Parsing of session script lines.
#include "app/script_commands.h"

#include <charconv>

#include "app/key_codes.h"

namespace {

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Splits off the first word; `rest` is what follows it, trimmed.
std::string_view firstWord(std::string_view text, std::string_view& rest) {
    size_t end = text.find_first_of(" \t");
    if (end == std::string_view::npos) {
        rest = {};
        return text;
    }
    rest = trimmed(text.substr(end));
    return text.substr(0, end);
}

bool parseInt(std::string_view text, int& value) {
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Exactly two integers separated by blanks.
bool parsePoint(std::string_view text, int& x, int& y) {
    std::string_view rest;
    std::string_view first = firstWord(text, rest);
    return parseInt(first, x) && parseInt(rest, y);
}

struct CommandName {
    std::string_view name;
    ScriptCommandKind kind;
};

constexpr CommandName kPointCommands[] = {
    {"down", ScriptCommandKind::LeftDown},
    {"move", ScriptCommandKind::Move},
    {"up", ScriptCommandKind::LeftUp},
    {"rdown", ScriptCommandKind::RightDown},
};

// Commands without arguments.
constexpr CommandName kBareCommands[] = {
    {"undo", ScriptCommandKind::Undo},
    {"redo", ScriptCommandKind::Redo},
    {"recovery", ScriptCommandKind::Recovery},
};

constexpr CommandName kPathCommands[] = {
    {"dialog", ScriptCommandKind::Dialog},
    {"capture", ScriptCommandKind::Capture},
    {"screenshot", ScriptCommandKind::Screenshot},
    {"save", ScriptCommandKind::Save},
    {"open", ScriptCommandKind::Open},
};

ScriptLineKind parsePathCommand(ScriptCommandKind kind, std::string_view argument,
                                ScriptCommand& command) {
    if (argument.empty()) return ScriptLineKind::Error;
    command.kind = kind;
    if (kind == ScriptCommandKind::Dialog && argument == "cancel")
        command.kind = ScriptCommandKind::DialogCancel;
    else if (kind == ScriptCommandKind::Capture && argument == "end")
        command.kind = ScriptCommandKind::CaptureEnd;
    else
        command.path = std::string(argument);
    return ScriptLineKind::Command;
}

struct AnswerName {
    std::string_view name;
    ScriptAnswer answer;
};

constexpr AnswerName kAnswers[] = {
    {"save", kAnswerSave},       {"dont-save", kAnswerDontSave}, {"cancel", kAnswerCancel},
    {"recover", kAnswerRecover}, {"discard", kAnswerDiscard},    {"later", kAnswerLater},
};

ScriptLineKind parseAnswer(std::string_view argument, ScriptCommand& command) {
    command.kind = ScriptCommandKind::Answer;
    for (const AnswerName& answer : kAnswers) {
        if (argument != answer.name) continue;
        command.first = answer.answer;
        return ScriptLineKind::Command;
    }
    return ScriptLineKind::Error;
}

// The words of an `export` line after the command: FORMAT RATE once|STEPS, then any of tail,
// stems, replace and cancel; or the single word cancel.
ScriptLineKind parseExport(std::string_view arguments, ScriptCommand& command) {
    std::string_view rest;
    std::string_view word = firstWord(arguments, rest);
    if (word == "cancel" && rest.empty()) {
        command.kind = ScriptCommandKind::ExportCancel;
        return ScriptLineKind::Command;
    }
    command.kind = ScriptCommandKind::Export;
    ScriptExportAnswer& answer = command.exportAnswer;
    ExportChoices& choices = answer.choices;
    if (!parseAudioFormat(word, choices.format)) return ScriptLineKind::Error;
    word = firstWord(rest, rest);
    if (!parseInt(word, choices.sampleRate) ||
        (choices.sampleRate != 22050 && choices.sampleRate != 44100))
        return ScriptLineKind::Error;
    word = firstWord(rest, rest);
    choices.once = word == "once";
    if (!choices.once &&
        (!parseInt(word, choices.steps) || choices.steps < 1 || choices.steps > kMaxExportSteps))
        return ScriptLineKind::Error;
    while (!rest.empty()) {
        word = firstWord(rest, rest);
        bool* flag = word == "tail"      ? &choices.tail
                     : word == "stems"   ? &choices.stems
                     : word == "replace" ? &answer.replace
                     : word == "cancel"  ? &answer.cancelRender
                                         : nullptr;
        if (flag == nullptr) return ScriptLineKind::Error;
        *flag = true;
    }
    return ScriptLineKind::Command;
}

} // namespace

ScriptLineKind parseScriptLine(std::string_view line, ScriptCommand& command) {
    line = trimmed(line);
    if (line.empty() || line.front() == '#') return ScriptLineKind::Skip;
    std::string_view argument;
    std::string_view name = firstWord(line, argument);
    command = ScriptCommand{};
    if (name == "key") {
        KeyCode key = keyCodeFromName(argument);
        if (key == kKeyNone) return ScriptLineKind::Error;
        command.kind = ScriptCommandKind::Key;
        command.first = key;
        return ScriptLineKind::Command;
    }
    if (name == "menu" || name == "steps" || name == "clock") {
        command.kind = name == "menu"    ? ScriptCommandKind::Menu
                       : name == "steps" ? ScriptCommandKind::Steps
                                         : ScriptCommandKind::Clock;
        if (!parseInt(argument, command.first)) return ScriptLineKind::Error;
        if (command.kind != ScriptCommandKind::Menu && command.first < 0)
            return ScriptLineKind::Error;
        if (command.kind == ScriptCommandKind::Clock && command.first > kMaxClockSeconds)
            return ScriptLineKind::Error;
        return ScriptLineKind::Command;
    }
    if (name == "answer") return parseAnswer(argument, command);
    for (const CommandName& point : kPointCommands) {
        if (name != point.name) continue;
        command.kind = point.kind;
        return parsePoint(argument, command.first, command.second) ? ScriptLineKind::Command
                                                                   : ScriptLineKind::Error;
    }
    for (const CommandName& bare : kBareCommands) {
        if (name != bare.name) continue;
        command.kind = bare.kind;
        return argument.empty() ? ScriptLineKind::Command : ScriptLineKind::Error;
    }
    if (name == "export") return parseExport(argument, command);
    for (const CommandName& path : kPathCommands)
        if (name == path.name) return parsePathCommand(path.kind, argument, command);
    return ScriptLineKind::Error;
}
