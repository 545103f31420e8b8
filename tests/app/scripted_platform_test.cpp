// The scripted platform's protocol lines and dialog answers.
#include <gtest/gtest.h>

#include <sstream>

#include "app/scripted_platform.h"

namespace {

TEST(ScriptedPlatform, ProtocolLinesWithEscapes) {
    std::ostringstream out;
    ScriptedPlatform platform(out);
    EXPECT_FALSE(platform.warningShown());
    platform.showMessage("No beats recorded.", "Sorry", MessageIcon::None);
    EXPECT_FALSE(platform.warningShown()) << "a box without the warning icon is no warning";
    showWarning(platform, "Couldn't read BPM ");
    EXPECT_TRUE(platform.warningShown());
    platform.setWindowTitle("a\tb\\c\nd");
    platform.showMessage("line1\nline2", "cap\ttion", MessageIcon::None);
    EXPECT_EQ(out.str(), "message\tSorry\tNo beats recorded.\n"
                         "beep\twarning\n"
                         "message\t\tCouldn't read BPM \n"
                         "title\ta\\tb\\\\c\\nd\n"
                         "message\tcap\\ttion\tline1\\nline2\n");
}

TEST(ScriptedPlatform, DialogsAnswerFromTheQueueThenCancel) {
    std::ostringstream out;
    ScriptedPlatform platform(out);
    platform.queueDialogAnswer("first.zwv");
    platform.queueDialogAnswer(std::nullopt);
    platform.queueDialogAnswer("third.wav");
    FileDialogRequest request;
    EXPECT_EQ(platform.askOpenPath(request), std::optional<std::string>("first.zwv"));
    EXPECT_EQ(platform.askSavePath(request), std::nullopt);
    EXPECT_EQ(platform.askSavePath(request), std::optional<std::string>("third.wav"));
    EXPECT_EQ(platform.askOpenPath(request), std::nullopt);
    EXPECT_EQ(out.str(), "") << "dialogs print nothing";
}

} // namespace
