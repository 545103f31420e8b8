// Keyboard commands through scripted sessions: their effect on the song and the engine, and the
// panels they bring to the window.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

#include "app/key_codes.h"
#include "app/key_commands.h"
#include "app/panel_redraw.h"
#include "model/bpm_digits.h"
#include "shell_session.h"
#include "tools/current_selection.h"

namespace {

TEST(KeyCommands, LettersAndDigitsWithCtrlOrAltRunNoBareKeyCommand) {
    for (int key : {int('S'), int('Q'), int('A'), int('Z'), int('0'), int('9')}) {
        EXPECT_TRUE(bareKeyCommandRuns(key, false)) << char(key);
        EXPECT_FALSE(bareKeyCommandRuns(key, true)) << char(key);
    }
    for (int key : {int(kKeyEnter), int(kKeySpace), int(kKeyLeft), int(kKeyDelete)})
        EXPECT_TRUE(bareKeyCommandRuns(key, true)) << key;
}

TEST(KeyCommands, EnterStartsAndStopsPlaybackAndRedrawsThePlayPanel) {
    ShellSession s;
    auto stopped = s.shown(PanelId::PlayStopRecord);
    ASSERT_EQ(s.run("key Enter\n"), 0);
    EXPECT_EQ(s.app().engine.playing, 1);
    EXPECT_TRUE(s.session->device.isPlaying());
    EXPECT_NE(s.shown(PanelId::PlayStopRecord), stopped);
    ASSERT_EQ(s.run("key Enter\n"), 0);
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_EQ(s.shown(PanelId::PlayStopRecord), stopped);
}

TEST(KeyCommands, SpaceCyclesInstrumentsAndFourPressesShowTheFirstAgain) {
    ShellSession s;
    s.song().Volume[1] = 0.1f; // make instrument 1's panels differ from instrument 0's
    s.run("key Space\n");
    auto before = s.shown(PanelId::NotePad);
    s.run("key Space\nkey Space\nkey Space\nkey Space\n");
    EXPECT_EQ(s.app().ui.currentInstrument, 1);
    EXPECT_EQ(s.shown(PanelId::NotePad), before);

    ShellSession fresh;
    const PanelId perInstrument[] = {PanelId::NotePad,          PanelId::PanAndVelocity,
                                     PanelId::DelayReverb,      PanelId::EffectKnobs,
                                     PanelId::InstrumentButton, PanelId::NoteBankSequencer};
    std::vector<std::vector<uint8_t>> start;
    for (PanelId id : perInstrument) start.push_back(fresh.shown(id));
    fresh.run("key Space\n");
    EXPECT_NE(fresh.shown(PanelId::InstrumentButton), start[4]);
    fresh.run("key Space\nkey Space\nkey Space\n");
    EXPECT_EQ(fresh.app().ui.currentInstrument, 0);
    for (size_t i = 0; i < start.size(); ++i) EXPECT_EQ(fresh.shown(perInstrument[i]), start[i]);
}

// The hundreds digit, the units digit, the floor of 10 BPM and a tempo that reads back as typed.
TEST(KeyCommands, DigitsEnterTheSelectedBpmDigit) {
    ShellSession s;
    s.app().ui.bpmDigitSelected[0] = 1;
    s.run("key 0\n");
    EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
    s.run("key 1\n");
    EXPECT_FLOAT_EQ(s.song().BPM, 170.0f);
    EXPECT_EQ(s.app().ui.bpmDigitSelected[0], 1) << "the digit stays selected";

    s.app().ui.bpmDigitSelected[0] = 0;
    s.app().ui.bpmDigitSelected[2] = 1;
    s.song().BPM = 70.0f;
    s.run("key 5\n");
    EXPECT_FLOAT_EQ(s.song().BPM, 75.0f);
    EXPECT_EQ(s.app().engine.chunkFrames, chunkFramesFor(75.0, 22050)) << "stream rebuilt";

    s.song().BPM = 5.0f; // digits 005.00: any units digit below 10 BPM gives 10
    s.run("key 7\n");
    EXPECT_FLOAT_EQ(s.song().BPM, 10.0f);

    s.app().ui.bpmDigitSelected[2] = 0;
    s.app().ui.bpmDigitSelected[4] = 1;
    s.song().BPM = 123.4f;
    s.run("key 5\n");
    int digits[kBpmDigitCount];
    splitBpmDigits(s.song().BPM, digits);
    EXPECT_EQ(digits[0] * 10000 + digits[1] * 1000 + digits[2] * 100 + digits[3] * 10 + digits[4],
              12345);
}

TEST(KeyCommands, BpmEntryWhilePlayingStopsPlaybackButKeepsPendingMutes) {
    ShellSession s;
    s.run("key Enter\nsteps 2\nkey Q\n");
    ASSERT_EQ(s.app().engine.playing, 1);
    s.app().ui.bpmDigitSelected[1] = 1;
    s.run("key 9\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 90.0f);
    EXPECT_EQ(s.app().engine.pendingMuteToggle[0], 1);
}

TEST(KeyCommands, DigitsWithoutBpmSelectionQueueNoteBanks) {
    ShellSession s;
    BankStack& stack = s.song().PatternStack[0];
    stack.entries[0] = -1; // stopped: the first empty entry from entry 0 takes the bank
    s.run("key 3\nkey 0\n");
    EXPECT_EQ(stack.entries[0], 2);
    EXPECT_EQ(stack.entries[1], 9);

    ShellSession playing;
    BankStack& played = playing.song().PatternStack[0];
    playing.run("key Enter\nkey 3\n");
    EXPECT_EQ(played.entries[0], 0) << "the bank being played is not overwritten";
    EXPECT_EQ(played.entries[1], 2);

    for (int& entry : played.entries) entry = 4;
    playing.run("key 1\n");
    for (int entry : played.entries) EXPECT_EQ(entry, 4) << "a full stack stays as it was";
}

TEST(KeyCommands, MuteKeysWhileStoppedFlipMuteAtTheNextStart) {
    ShellSession s;
    auto control = s.shown(PanelId::InstrumentControl);
    s.run("key Q\nkey R\nkey R\n");
    EXPECT_EQ(s.song().Mute[0], 0) << "nothing changes before playback starts";
    EXPECT_EQ(s.app().engine.pendingMuteToggle[0], 1);
    EXPECT_EQ(s.app().engine.pendingMuteToggle[3], 0);
    EXPECT_NE(s.shown(PanelId::InstrumentControl), control);
    s.run("key Enter\n");
    EXPECT_EQ(s.song().Mute[0], 1);
    EXPECT_EQ(s.app().engine.pendingMuteToggle[0], 0);
    EXPECT_EQ(s.song().Mute[3], 0);
    s.run("key W\nkey Enter\n");
    EXPECT_EQ(s.song().Mute[1], 1) << "stopping applies the toggle too";
}

// Left moves every instrument to the next entry of its play order and restarts the bank, so
// that the counter satisfies stepCounter + noteLatency = 16 x PatternIdx + step.
TEST(KeyCommands, ArrowKeysJumpMeasuresKeepingTheCounterInvariant) {
    ShellSession s;
    for (int i = 0; i < kInstrumentCount; ++i) {
        s.song().PatternStack[i].entries[1] = 3;
        s.song().PatternStack[i].entries[2] = 5;
    }
    s.run("menu 40043\nkey Enter\nsteps 3\nkey Left\n");
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_EQ(s.song().PatternIdx[i], 3);
        EXPECT_EQ(s.app().engine.stepCounter[i] + s.app().engine.noteLatency, 16 * 3);
    }
    s.run("key Left\n");
    EXPECT_EQ(s.song().PatternIdx[2], 5);
    s.run("key Right\n");
    EXPECT_EQ(s.song().PatternIdx[2], 3);
    EXPECT_EQ(s.app().engine.stepCounter[2], 16 * 3 - 2);

    // Measures played after the jump carry on from the bank's first step.
    s.run("steps 1\n");
    EXPECT_EQ(s.app().engine.stepCounter[0] + s.app().engine.noteLatency, 16 * 3 + 1);

    // An empty play order leaves the instrument without bank, counting from -latency.
    s.song().PatternStack[1].stackMode = kStackConsume;
    for (int& entry : s.song().PatternStack[1].entries) entry = -1;
    jumpMeasure(s.app(), true);
    EXPECT_EQ(s.song().PatternIdx[1], -1);
    EXPECT_EQ(s.app().engine.stepCounter[1], -s.app().engine.noteLatency);
}

// With the slot's knobs at 0, what the voices play is the drawing itself once it is rebuilt.
bool playsItsDrawing(const AppState& app, int slot) {
    const float* playback = app.engine.playbackWaveforms.wave[slot];
    return std::equal(playback, playback + kWaveformSamples, app.song.Sound[slot]) &&
           playback[kWaveformSamples] == app.song.Sound[slot][0];
}

TEST(KeyCommands, WaveformKeysEditTheCurrentSlotAndRedrawTheWaveEditor) {
    ShellSession s;
    int slot = waveformSlotOf(s.song(), s.app().ui.currentInstrument);
    float sample = s.song().Sound[slot][40];
    auto editor = s.shown(PanelId::WaveEditor);
    s.run("key Up\n");
    EXPECT_FLOAT_EQ(s.song().Sound[slot][40], sample * 1.2f);
    EXPECT_TRUE(playsItsDrawing(s.app(), slot));
    EXPECT_NE(s.shown(PanelId::WaveEditor), editor);
    s.run("key Down\n");
    EXPECT_NEAR(s.song().Sound[slot][40], sample, 1e-4);
    EXPECT_TRUE(playsItsDrawing(s.app(), slot));

    s.run("key G\nkey G\n");
    EXPECT_EQ(s.app().ui.resetWaveformCycle, 2);
    EXPECT_TRUE(playsItsDrawing(s.app(), slot)) << "the sine and octave preset";
    float afterReset[kWaveformSamples];
    std::copy(std::begin(s.song().Sound[slot]), std::end(s.song().Sound[slot]), afterReset);
    s.run("key D\n");
    EXPECT_FALSE(std::equal(std::begin(afterReset), std::end(afterReset), s.song().Sound[slot]));
    EXPECT_TRUE(playsItsDrawing(s.app(), slot));

    s.run("key Delete\n");
    EXPECT_EQ(s.song().SoundType[slot], 0) << "a drawn waveform stays drawn";
    s.song().SoundType[slot] = 1;
    s.run("key Delete\n");
    EXPECT_EQ(s.song().SoundType[slot], 0);
}

TEST(KeyCommands, EnvelopeKeysChooseTheCurveAndEditTheOneShown) {
    ShellSession s;
    auto amplitude = s.shown(PanelId::EnvelopeEditor);
    s.run("key X\n");
    EXPECT_EQ(s.app().ui.envelopeCurve, 1);
    EXPECT_NE(s.shown(PanelId::EnvelopeEditor), amplitude);
    s.run("key C\nkey V\n");
    EXPECT_EQ(s.app().ui.envelopeCurve, 3);
    s.run("key Z\n");
    EXPECT_EQ(s.app().ui.envelopeCurve, 0);
    EXPECT_EQ(s.shown(PanelId::EnvelopeEditor), amplitude);

    float* curve = envelopeCurveOf(s.song(), envelopeBankOf(s.song(), s.app().ui.currentInstrument),
                                   s.app().ui.envelopeCurve);
    for (int p = 0; p < kEnvelopePoints; ++p) curve[p] = p % 2 ? 1.0f : 0.0f;
    s.run("key A\n");
    EXPECT_NEAR(curve[100], 0.4f, 1e-5) << "averaged over five points";
    for (int p = 0; p < kEnvelopePoints; ++p) curve[p] = 0.1f;
    s.run("key F\n");
    EXPECT_NEAR(curve[100], 0.1f + (0.125f - 0.1f) / 2, 1e-5) << "halfway to a sixteenth";
}

// The eight envelope buttons draw the curve the editor shows, from the key on.
TEST(KeyCommands, EnvelopeKeysRedrawTheEnvelopeButtonsWithTheEditor) {
    ShellSession s;
    auto amplitude = s.shown(PanelId::EnvelopeButtons);
    s.run("key X\n");
    auto pitch = s.shown(PanelId::EnvelopeButtons);
    EXPECT_NE(pitch, amplitude);
    updatePanel(s.app(), s.session->screen, PanelId::EnvelopeButtons); // as a later edit does
    EXPECT_EQ(s.shown(PanelId::EnvelopeButtons), pitch);
    s.run("key C\nkey Z\n");
    EXPECT_EQ(s.shown(PanelId::EnvelopeButtons), amplitude);
}

TEST(KeyCommands, SlidingKeyTogglesAndOtherKeysDoNothing) {
    ShellSession s;
    s.run("key S\n");
    EXPECT_EQ(s.app().ui.slidingAllowed, 0);
    s.run("key S\nkey B\nkey Y\n");
    EXPECT_EQ(s.app().ui.slidingAllowed, 1);
    EXPECT_EQ(s.app().engine.playing, 0);
}

TEST(KeyCommands, RecordKeyStartsArmsAndStopsRecording) {
    ShellSession s;
    s.run("key L\n");
    EXPECT_EQ(s.app().recording.active, 1);
    EXPECT_EQ(s.app().engine.playing, 1);
    // Each chunk mixed from now on is recorded: one per step.
    const int recorded = s.app().recording.recordedChunks;
    s.run("steps 3\n");
    EXPECT_EQ(s.app().recording.recordedChunks, recorded + 3);
    s.run("key L\n");
    EXPECT_EQ(s.app().recording.stopRequested, 1);
    s.run("key Enter\nkey Enter\n");
    EXPECT_EQ(s.app().recording.active, 1) << "stop waits for instrument 0's measure end";

    ShellSession armed;
    armed.run("key Enter\nkey L\n");
    EXPECT_EQ(armed.app().recording.startArmed, 1);
    armed.run("key L\n");
    EXPECT_EQ(armed.app().recording.startArmed, 0);
    EXPECT_EQ(armed.app().recording.active, 0);
}

TEST(KeyCommands, ArmedRecordingWithoutATempFolderTellsTheUserAtTheMeasureEnd) {
    // A plain file where the temporary folder should be: nothing can be created below it.
    char blocker[] = "/tmp/humbrook-no-temp-XXXXXX";
    const int fd = mkstemp(blocker);
    ASSERT_GE(fd, 0);
    close(fd);
    setenv("TMPDIR", blocker, 1);
    ShellSession s;
    s.run("key Enter\nkey L\n");
    EXPECT_EQ(s.app().recording.startArmed, 1);
    s.run("steps 16\n");
    unsetenv("TMPDIR");
    unlink(blocker);
    EXPECT_EQ(s.app().recording.startArmed, 0);
    EXPECT_EQ(s.app().recording.active, 0);
    EXPECT_EQ(s.app().engine.playing, 1) << "playback goes on";
    EXPECT_EQ(s.protocol.str(), "beep\twarning\nmessage\t\tCouldn't Create Temp File\n");
}

TEST(KeyCommands, ARecordingThatCannotBeWrittenStopsAndTellsTheUserOnce) {
    char folder[] = "/tmp/humbrook-full-disk-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    setenv("TMPDIR", folder, 1);
    ShellSession s;
    // The file-size limit fails the temporary file's writes as a full disk does, two steps in.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &small);
    s.run("key L\nsteps 6\n");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(s.app().recording.active, 0);
    EXPECT_EQ(s.app().engine.playing, 1) << "playback goes on";
    EXPECT_EQ(s.protocol.str(), "beep\twarning\nmessage\t\tCouldn't Write Temp File\n");
    // Saving the take says it is incomplete.
    const std::string wave = std::string(folder) + "/take.wav";
    s.run("dialog " + wave + "\nmenu 40048\nsteps 2\n");
    EXPECT_EQ(s.protocol.str(), "beep\twarning\nmessage\t\tCouldn't Write Temp File\n"
                                "beep\twarning\nmessage\t\tRecording Incomplete\n");
    unsetenv("TMPDIR");
    std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

} // namespace
