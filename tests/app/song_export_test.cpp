// File > Export Song and the offline render behind it: script answers, the window's own playback
// left alone, progress, Cancel and the replace question.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/script_commands.h"
#include "app/song_export.h"
#include "app/song_render.h"
#include "shell_session.h"

namespace {

namespace fs = std::filesystem;

fs::path scratchFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("humbrook_export_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

size_t entries(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// The start-up song at 22050 Hz with a note on every instrument, ready to render.
std::unique_ptr<RenderSource> startUpSource(ShellSession& s) {
    s.run("down 35 130\nup 35 130\n");
    auto source = std::make_unique<RenderSource>();
    source->song = s.song();
    source->playbackWaveforms = s.app().engine.playbackWaveforms;
    return source;
}

} // namespace

TEST(ScriptParsing, ExportLinesAnswerTheDialogWithTheirChoices) {
    ScriptCommand c;
    ASSERT_EQ(parseScriptLine("export flac24 44100 once tail stems replace cancel", c),
              ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::Export);
    const ScriptExportAnswer& a = c.exportAnswer;
    EXPECT_EQ(a.choices.format, AudioFormat::Flac24);
    EXPECT_EQ(a.choices.sampleRate, 44100);
    EXPECT_TRUE(a.choices.once && a.choices.tail && a.choices.stems && a.replace && a.cancelRender);
    ASSERT_EQ(parseScriptLine("export  ogg 22050 1000000", c), ScriptLineKind::Command);
    EXPECT_FALSE(c.exportAnswer.choices.once || c.exportAnswer.choices.tail ||
                 c.exportAnswer.choices.stems || c.exportAnswer.replace);
    EXPECT_EQ(c.exportAnswer.choices.steps, 1000000);
    ASSERT_EQ(parseScriptLine("export cancel", c), ScriptLineKind::Command);
    EXPECT_EQ(c.kind, ScriptCommandKind::ExportCancel);
    for (const char* bad :
         {"export", "export mp3 22050 once", "export wav16 48000 once", "export wav16 22050",
          "export wav16 22050 0", "export wav16 22050 1000001", "export wav16 22050 once loud",
          "export cancel now", "export wav16 22050 -5"})
        EXPECT_EQ(parseScriptLine(bad, c), ScriptLineKind::Error) << bad;
}

// The export renders on a thread of its own: the session's random sequence, song and engine are
// as they would have been without it.
TEST(SongExport, ThePlayingSessionIsLeftAsItWas) {
    const fs::path folder = scratchFolder("session");
    ShellSession s;
    s.run("key Enter\nsteps 3\n");
    const uint32_t random = currentRandomState();
    const int counter = s.app().engine.stepCounter[0];
    const int chunk = s.app().engine.chunkIndex;
    s.run("export wav16 22050 16\ndialog " + (folder / "x.wav").string() + "\nmenu 40066\n");
    EXPECT_TRUE(fs::exists(folder / "x.wav"));
    EXPECT_EQ(currentRandomState(), random);
    EXPECT_EQ(s.app().engine.stepCounter[0], counter);
    EXPECT_EQ(s.app().engine.chunkIndex, chunk);
    EXPECT_EQ(s.app().engine.playing, 1);
    EXPECT_EQ(s.protocol.str().find("message"), std::string::npos) << s.protocol.str();
    fs::remove_all(folder);
}

TEST(SongExport, ProgressCountsTheStepsAndCancelStopsWithinAStepLeavingNothing) {
    const fs::path folder = scratchFolder("cancel");
    ShellSession s;
    auto source = startUpSource(s);
    RenderRequest request;
    request.path = (folder / "whole.wav").string();
    request.steps = 12;
    RenderProgress done;
    std::string error;
    EXPECT_EQ(renderSongFiles(*source, request, done, error), RenderOutcome::Written) << error;
    EXPECT_EQ(done.stepsDone, 12);
    EXPECT_EQ(done.stepsMost, 12);
    EXPECT_TRUE(done.finished);

    // A long render at 44100 Hz with stems, cancelled while it runs.
    source = startUpSource(s);
    source->sampleRate = 44100;
    request.path = (folder / "long.flac").string();
    request.format = AudioFormat::Flac24;
    request.steps = 1000000;
    request.stems = true;
    RenderProgress progress;
    RenderOutcome outcome = RenderOutcome::Written;
    std::thread render([&] { outcome = renderSongFiles(*source, request, progress, error); });
    while (progress.stepsDone < 20) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const int stepsAtPress = progress.stepsDone;
    progress.cancelRequested = true;
    render.join();
    EXPECT_EQ(outcome, RenderOutcome::Cancelled);
    EXPECT_TRUE(progress.finished);
    // The step under way is the last: a step at 44100 Hz renders in well under a millisecond
    // (bench_engine), so Cancel takes effect at once, however busy the disk is meanwhile.
    EXPECT_LE(progress.stepsDone, stepsAtPress + 1);
    EXPECT_EQ(entries(folder), 1u); // whole.wav alone: no stem, no temporary file
    fs::remove_all(folder);
}

TEST(SongExport, StemsThatExistAreReplacedOnlyAfterYes) {
    const fs::path folder = scratchFolder("stems");
    const std::string name = (folder / "parts.ogg").string();
    ExportChoices choices;
    choices.format = AudioFormat::OggVorbis;
    EXPECT_EQ(exportedFiles(name, choices), std::vector<std::string>{name});
    choices.stems = true;
    const std::vector<std::string> stems = exportedFiles(name, choices);
    ASSERT_EQ(stems.size(), 4u);
    EXPECT_EQ(stems[3], (folder / "parts-4.ogg").string());

    ShellSession s;
    const std::string exportLine = "export ogg 22050 4 stems";
    s.run(exportLine + "\ndialog " + name + "\nmenu 40066\n");
    EXPECT_EQ(entries(folder), 4u);
    EXPECT_EQ(s.protocol.str().find("question"), std::string::npos); // nothing to replace yet
    fs::resize_file(stems[1], 0);
    s.run(exportLine + "\ndialog " + name + "\nmenu 40066\n");
    EXPECT_NE(s.protocol.str().find("question\t"), std::string::npos);
    EXPECT_EQ(fs::file_size(stems[1]), 0u); // No: left as it was
    s.run(exportLine + " replace\ndialog " + name + "\nmenu 40066\n");
    EXPECT_GT(fs::file_size(stems[1]), 0u);
    fs::remove_all(folder);
}
