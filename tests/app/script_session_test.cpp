// Script parsing and the session's own commands: steps, capture, screenshots, mouse and errors.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/key_codes.h"
#include "app/script_commands.h"
#include "app/wave_file_writer.h"
#include "shell_session.h"

namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("humbrook_script_" + name)).string();
}

TEST(ScriptParsing, ReadsEveryCommandAndSkipsBlankAndCommentLines) {
    ScriptCommand c;
    EXPECT_EQ(parseScriptLine("", c), ScriptLineKind::Skip);
    EXPECT_EQ(parseScriptLine("   \t\r", c), ScriptLineKind::Skip);
    EXPECT_EQ(parseScriptLine("  # key Enter", c), ScriptLineKind::Skip);

    ASSERT_EQ(parseScriptLine("key Enter", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Key);
    EXPECT_EQ(c.first, kKeyEnter);
    ASSERT_EQ(parseScriptLine("key 7\r", c), ScriptLineKind::Command);
    EXPECT_EQ(c.first, '7');
    ASSERT_EQ(parseScriptLine("key Q", c), ScriptLineKind::Command);
    EXPECT_EQ(c.first, 'Q');
    ASSERT_EQ(parseScriptLine("menu 40058", c), ScriptLineKind::Command);
    EXPECT_EQ(c.first, 40058);
    ASSERT_EQ(parseScriptLine("rdown 12  -3", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::RightDown);
    EXPECT_EQ(c.first, 12);
    EXPECT_EQ(c.second, -3);
    ASSERT_EQ(parseScriptLine("dialog /tmp/a song.zwv ", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Dialog);
    EXPECT_EQ(c.path, "/tmp/a song.zwv");
    ASSERT_EQ(parseScriptLine("dialog cancel", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::DialogCancel);
    ASSERT_EQ(parseScriptLine("capture end", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::CaptureEnd);
    ASSERT_EQ(parseScriptLine("steps 0", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Steps);
    ASSERT_EQ(parseScriptLine("answer dont-save", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Answer);
    EXPECT_EQ(c.first, kAnswerDontSave);
    ASSERT_EQ(parseScriptLine("answer later", c), ScriptLineKind::Command);
    EXPECT_EQ(c.first, kAnswerLater);
    ASSERT_EQ(parseScriptLine("clock 86400", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Clock);
    EXPECT_EQ(c.first, 86400);
    ASSERT_EQ(parseScriptLine("recovery", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Recovery);
    ASSERT_EQ(parseScriptLine("undo", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Undo);
    ASSERT_EQ(parseScriptLine(" redo ", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Redo);
}

TEST(ScriptParsing, RejectsWhatItCannotRead) {
    ScriptCommand c;
    for (const char* bad : {"key",       "key enter",   "key F1",       "key AB",      "menu",
                            "menu 4x",   "down 1",      "down 1 2 3",   "move a b",    "steps -1",
                            "steps",     "dialog",      "open",         "screenshot",  "jump 3",
                            "Key Enter", "answer",      "answer yes",   "answer Save", "clock",
                            "clock -1",  "clock 86401", "recovery now", "undo 2",      "redo now"})
        EXPECT_EQ(parseScriptLine(bad, c), ScriptLineKind::Error) << bad;
}

TEST(ScriptSessions, AnUnreadableLineIsAUsageErrorBeforeAnythingRuns) {
    ShellSession s;
    EXPECT_EQ(s.run("key Enter\n\n# fine\nkey Spacebar\n"), 2);
    EXPECT_NE(s.errors.str().find("line 4"), std::string::npos);
    EXPECT_EQ(s.app().engine.playing, 0);
}

TEST(ScriptSessions, ScriptFilesAreReadWholeAndAMissingOneFails) {
    ShellSession s;
    const std::string script = tempPath("session.txt");
    {
        std::ofstream out(script);
        out << "# a song of one key\nkey Enter\n\nsteps 2\n";
    }
    EXPECT_EQ(runScriptFile(*s.session, script, s.errors), 0);
    EXPECT_EQ(s.app().engine.playing, 1);
    std::remove(script.c_str());
    EXPECT_EQ(runScriptFile(*s.session, script, s.errors), 1);
    EXPECT_NE(s.errors.str().find("cannot read the script " + script), std::string::npos);
}

TEST(ScriptSessions, AFolderOrAnEndlessDeviceIsNoScript) {
    ShellSession s;
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(runScriptFile(*s.session, folder, s.errors), 1);
    EXPECT_NE(s.errors.str().find("cannot read the script " + folder), std::string::npos);
    EXPECT_EQ(runScriptFile(*s.session, "/dev/zero", s.errors), 1);
    EXPECT_NE(s.errors.str().find("the script /dev/zero is larger than 64 MB"), std::string::npos);
}

TEST(ScriptSessions, DialogAnswersAreTakenInOrderByTheNextDialogs) {
    ShellSession s;
    const std::string notWave = tempPath("not_a_wave.wav");
    {
        std::ofstream out(notWave);
        out << "plain text";
    }
    s.run("dialog " + notWave + "\ndialog cancel\nmenu 40057\nmenu 40057\nmenu 40057\n");
    EXPECT_EQ(s.protocol.str(), "beep\twarning\nmessage\t\tCouldn't Open File \n")
        << "the first import reads the file, the second is cancelled, the third has no answer";
    EXPECT_EQ(s.song().SoundType[0], 0);
    std::remove(notWave.c_str());
}

TEST(ScriptSessions, StepsMoveThePlayCursorChunkByChunk) {
    ShellSession s;
    s.run("steps 3\n");
    EXPECT_EQ(s.session->device.playCursor(), 0) << "stopped: only pumps";
    s.run("key Enter\nsteps 7\n");
    const int chunkBytes = 4 * s.app().engine.chunkFrames;
    EXPECT_EQ(s.session->device.playCursor(), 7 % 5 * chunkBytes);
    EXPECT_EQ(s.app().engine.chunkIndex, 2);
    // Latency 1: the pre-roll leaves the counters one step before bank 0; seven steps later
    // the instrument renders step 8 of its bank.
    EXPECT_EQ(s.app().engine.stepCounter[0] + s.app().engine.noteLatency, 8);
}

TEST(ScriptSessions, CaptureWritesEveryChunkTheCursorLeaves) {
    ShellSession s;
    const std::string wav = tempPath("capture.wav");
    s.song().noteGrid[0].notePosition[0][12] = 1;
    s.song().noteGrid[0].noteLength[0][12] = 2;
    s.song().noteGrid[0].nextRow[0][12] = 12;
    s.song().noteGrid[0].notePosition[1][12] = 2;
    s.song().noteGrid[0].noteLength[1][12] = 2;
    s.song().noteGrid[0].nextRow[1][12] = -1;
    ASSERT_EQ(s.run("key Enter\ncapture " + wav + "\nsteps 6\n"), 0);
    EXPECT_FALSE(std::filesystem::exists(wav)) << "the file takes its place at the end";
    ASSERT_EQ(s.run("capture end\nsteps 2\n"), 0);
    const int chunkBytes = 4 * s.app().engine.chunkFrames;
    ASSERT_EQ(std::filesystem::file_size(wav), 44u + 6u * chunkBytes);
    std::ifstream in(wav, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    int nonZero = 0;
    for (size_t i = 44; i < bytes.size(); ++i) nonZero += bytes[i] != 0;
    EXPECT_GT(nonZero, 1000) << "the note is heard";
    std::remove(wav.c_str());
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The file-size limit makes every write past it fail, as a full disk does.
struct FileSizeLimit {
    rlimit saved;
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST(ScriptSessions, ACaptureThatCannotBeWrittenStopsAndKeepsThePreviousFile) {
    ShellSession s;
    const std::string wav = tempPath("kept.wav");
    std::ofstream(wav) << "the previous capture";
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(s.run("key Enter\ncapture " + wav + "\nsteps 8\nkey Enter\n"), 1);
    }
    EXPECT_NE(s.errors.str().find("script line 3: cannot write " + wav), std::string::npos);
    EXPECT_EQ(s.app().engine.playing, 1) << "the script stopped at the failure";
    EXPECT_FALSE(capturing(s.session->capture));
    EXPECT_EQ(fileText(wav), "the previous capture");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() /
                                         ".humbrook_script_kept.wav.humbrook-tmp"));
    std::remove(wav.c_str());
}

TEST(ScriptSessions, ACaptureStopsBeforeItsDataCountWouldWrap) {
    ShellSession s;
    const std::string wav = tempPath("full.wav");
    std::ofstream(wav) << "the previous capture";
    ASSERT_EQ(s.run("key Enter\ncapture " + wav + "\nsteps 1\n"), 0);
    const uint32_t chunkBytes = 4u * static_cast<uint32_t>(s.app().engine.chunkFrames);
    // As if 4 GiB had been captured: one more chunk fits, the next would not.
    s.session->capture.dataBytes = kMaxWaveDataBytes - 2 * chunkBytes + 1;
    EXPECT_EQ(s.run("steps 1\n"), 0);
    EXPECT_EQ(s.run("steps 5\n"), 1);
    EXPECT_NE(s.errors.str().find("script line 1: capture " + wav +
                                  " would pass the 4 GiB a WAV file can hold"),
              std::string::npos);
    EXPECT_FALSE(capturing(s.session->capture));
    EXPECT_EQ(fileText(wav), "the previous capture");
    std::remove(wav.c_str());
}

TEST(ScriptSessions, ScreenshotsWriteThePictureAndUnwritablePathsStopTheSession) {
    ShellSession s;
    const std::string png = tempPath("shot.png");
    ASSERT_EQ(s.run("screenshot " + png + "\n"), 0);
    std::ifstream in(png, std::ios::binary);
    char signature[8] = {};
    in.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    std::remove(png.c_str());

    EXPECT_EQ(s.run("screenshot /nonexistent/dir/x.png\nkey Enter\n"), 1);
    EXPECT_NE(s.errors.str().find("line 1"), std::string::npos);
    EXPECT_EQ(s.app().engine.playing, 0);
}

TEST(ScriptSessions, AScreenshotIsWrittenWholeOrNotAtAll) {
    ShellSession s;
    const std::string png = tempPath("kept.png");
    std::ofstream(png) << "the previous picture";
    {
        FileSizeLimit limit(1000); // the picture is larger
        EXPECT_EQ(s.run("screenshot " + png + "\n"), 1);
    }
    EXPECT_EQ(fileText(png), "the previous picture");
    std::remove(png.c_str());
    // A pipe nobody reads is refused, not waited on.
    const std::string pipe = tempPath("pipe.png");
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    alarm(20);
    EXPECT_EQ(s.run("screenshot " + pipe + "\n"), 1);
    alarm(0);
    std::remove(pipe.c_str());
}

TEST(ScriptSessions, MouseCommandsReachThePanels) {
    ShellSession s;
    const PanelRect& buttons = panelRect(s.session->screen.layout, PanelId::InstrumentButton);
    const int x = buttons.left + 3 * rectWidth(buttons) / 4 + 5;
    const int y = (buttons.top + buttons.bottom) / 2;
    s.run("down " + std::to_string(x) + " " + std::to_string(y) + "\nup " + std::to_string(x) +
          " " + std::to_string(y) + "\n");
    EXPECT_EQ(s.app().ui.currentInstrument, 3);
}

} // namespace
