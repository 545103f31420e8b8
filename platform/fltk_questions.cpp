// The questions as FLTK choice boxes, run in FLTK's own loop (the sound is fed meanwhile).
#include "platform/fltk_questions.h"

#include <FL/Fl_Widget.H>
#include <FL/fl_ask.H>

#include "platform/fltk_label.h"

namespace {

// fl_choice with the box titled `title` and up to three buttons, listed from the right: 0 is what
// Escape and the close box give, 1 the default that Enter chooses, 2 the leftmost (nullptr: none).
int askChoice(const char* title, const std::string& text, const char* escape, const char* enter,
              const char* other) {
    fl_message_title(title);
    fl_message_icon()->show();
    return fl_choice("%s", escape, enter, other, escapedLabel(text).c_str());
}

} // namespace

SaveChangesAnswer askSaveChangesBox(const std::string& question) {
    switch (askChoice("Humbrook", question, "Cancel", "&Save", "&Don't Save")) {
    case 1:
        return SaveChangesAnswer::Save;
    case 2:
        return SaveChangesAnswer::DontSave;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

RecoveryAnswer askRecoveryBox(const std::string& text) {
    switch (askChoice("Humbrook", text, "&Later", "&Recover", "&Discard")) {
    case 1:
        return RecoveryAnswer::Recover;
    case 2:
        return RecoveryAnswer::Discard;
    default:
        return RecoveryAnswer::Later;
    }
}

bool askYesNoBox(const std::string& question) {
    return askChoice("", question, "No", "Yes", nullptr) == 1;
}
