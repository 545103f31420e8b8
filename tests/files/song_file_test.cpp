// The song file: its text, the round trip, the reader's rules and messages, the safe save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/song_file.h"
#include "files/song_reader.h"
#include "files/song_writer.h"
#include "model/song.h"
#include "tests/files/file_reading.h"
#include "tests/files/scratch_folder.h"

namespace {

// A song with every default (no presets), on the heap: it is large.
std::unique_ptr<Song> makeSong() {
    auto song = std::make_unique<Song>();
    setSongDefaults(*song);
    return song;
}

std::string songText(const Song& song) {
    std::string text;
    appendSongText(song, text);
    return text;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// What a value written with `decimals` decimals reads back as.
float throughText(float value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    return std::strtof(buffer, nullptr);
}

// A song that uses every saved feature, with values that are not the defaults.
void fillSong(Song& song) {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    song.BPM = 133.33333f;
    song.MainVolume[0] = 0.7123f;
    song.MainVolume[1] = 0.2f;
    for (int i = 0; i < kInstrumentCount; ++i) {
        song.Volume[i] = unit(random);
        song.Oct[i] = i;
        song.Mute[i] = i % 2;
        song.BPMsr[i] = 16 - i * 3;
        song.EnvIdx[i] = 7 - i;
        song.SoundIdx[i] = 2 * i + 1;
        for (float& c : song.BGR[i]) c = 255.0f * unit(random);
        song.EffectDim[i] = {i + 3, 15 - i};
        for (auto& delay : song.DelayParams[i])
            for (float& v : delay) v = unit(random) * 4.0f;
        song.PatternStack[i].stackMode = i % 3;
        for (int k = 0; k < kStackEntries; ++k)
            song.PatternStack[i].entries[k] = k < 5 + i % 3 ? (k * 3 + i) % 16 : -1;
        song.PatternIdx[i] = 4;
        for (KnobRecord& knob : song.Effect[i]) knob.value = unit(random);
        NoteGrid& grid = song.noteGrid[i];
        // A three-step slide from row 5 up to row 7, and a one-step chord at step 200.
        for (int k = 0; k < 3; ++k) {
            grid.notePosition[16 + k][5 + k] = k + 1;
            grid.nextRow[16 + k][5 + k] = k < 2 ? 6 + k : -1;
            grid.noteLength[16 + k][5 + k] = 3;
        }
        for (int row : {0, 4, 23}) {
            grid.notePosition[200 + i][row] = 1;
            grid.nextRow[200 + i][row] = -1;
            grid.noteLength[200 + i][row] = 1;
        }
        for (int s = 0; s < kGridSteps; ++s) {
            song.Pan[i][s] = unit(random);
            song.Vel[i][s] = unit(random);
        }
        song.Chorus[i].count = 8;
        for (int k = 0; k < 8; ++k) song.Chorus[i].keys[k] = {k * 3.0f - 12.0f, unit(random)};
    }
    for (int s = 0; s < kWaveformSlotCount; ++s) {
        for (float& v : song.Sound[s]) v = 250.0f * unit(random) - 125.0f;
        for (KnobRecord& knob : song.SoundEffect[s]) knob.value = unit(random);
        song.SoundType[s] = s % 2;
        song.SoundFileParams[s] = {s < 4 ? 22050 : 44100, 1 + s % 2, 1000 + s};
        song.SoundFileLoop[s] = {s * 10, 300 + s};
        std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
        for (int k = 0; k < 5000 + s; ++k) samples[k] = 254.0f * unit(random) - 127.0f;
        song.SoundFileVals[s].fileSamples = samples;
        song.SoundFileVals[s].fileSampleCount = 5000 + s;
    }
    for (int e = 0; e < kEnvelopeBankCount; ++e) {
        song.EnvelopeParams[e] = {10 + e, 100 + e, 290 + e, (e + 1) % 2};
        for (int p = 0; p < kEnvelopePoints - 1; ++p) {
            song.Envelope[e][p] = unit(random);
            song.Pitch[e][p] = unit(random);
            song.Cutoff[e][p] = unit(random);
            song.Ratio[e][p] = unit(random);
        }
    }
}

void expectLoaded(const Song& saved, const Song& loaded) {
    EXPECT_EQ(loaded.BPM, throughText(saved.BPM, 5));
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(loaded.MainVolume[c], throughText(saved.MainVolume[c], 3));
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_EQ(loaded.Volume[i], throughText(saved.Volume[i], 3));
        EXPECT_EQ(loaded.Oct[i], saved.Oct[i]);
        EXPECT_EQ(loaded.Mute[i], saved.Mute[i]);
        EXPECT_EQ(loaded.BPMsr[i], saved.BPMsr[i]);
        EXPECT_EQ(loaded.EnvIdx[i], saved.EnvIdx[i]);
        EXPECT_EQ(loaded.SoundIdx[i], saved.SoundIdx[i]);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(loaded.BGR[i][c], throughText(saved.BGR[i][c], 3));
        EXPECT_EQ(loaded.EffectDim[i].xKnob, saved.EffectDim[i].xKnob);
        EXPECT_EQ(loaded.EffectDim[i].yKnob, saved.EffectDim[i].yKnob);
        for (int d = 0; d < kDelayCount; ++d)
            for (int v = 0; v < kDelayValues; ++v)
                EXPECT_EQ(loaded.DelayParams[i][d][v], throughText(saved.DelayParams[i][d][v], 6));
        EXPECT_EQ(loaded.PatternStack[i].stackMode, saved.PatternStack[i].stackMode);
        for (int k = 0; k < kStackEntries; ++k)
            EXPECT_EQ(loaded.PatternStack[i].entries[k], saved.PatternStack[i].entries[k]);
        for (int k = 0; k < kEffectKnobCount; ++k)
            EXPECT_EQ(loaded.Effect[i][k].value, throughText(saved.Effect[i][k].value, 3));
        for (int s = 0; s < kGridSteps; ++s) {
            for (int r = 0; r < kNoteRows; ++r) {
                ASSERT_EQ(loaded.noteGrid[i].notePosition[s][r],
                          saved.noteGrid[i].notePosition[s][r]);
                if (saved.noteGrid[i].notePosition[s][r] == 0) continue;
                EXPECT_EQ(loaded.noteGrid[i].nextRow[s][r], saved.noteGrid[i].nextRow[s][r]);
                EXPECT_EQ(loaded.noteGrid[i].noteLength[s][r], saved.noteGrid[i].noteLength[s][r]);
            }
            EXPECT_EQ(loaded.Pan[i][s], throughText(saved.Pan[i][s], 3));
            EXPECT_EQ(loaded.Vel[i][s], throughText(saved.Vel[i][s], 3));
        }
        ASSERT_EQ(loaded.Chorus[i].count, saved.Chorus[i].count);
        for (int k = 0; k < saved.Chorus[i].count; ++k) {
            EXPECT_EQ(loaded.Chorus[i].keys[k].semitoneOffset,
                      throughText(saved.Chorus[i].keys[k].semitoneOffset, 3));
            EXPECT_EQ(loaded.Chorus[i].keys[k].level,
                      throughText(saved.Chorus[i].keys[k].level, 3));
        }
    }
    for (int s = 0; s < kWaveformSlotCount; ++s) {
        for (int k = 0; k < kWaveformSamples; ++k)
            ASSERT_EQ(loaded.Sound[s][k], throughText(saved.Sound[s][k], 3));
        for (int k = 0; k < kWaveformKnobCount; ++k)
            EXPECT_EQ(loaded.SoundEffect[s][k].value,
                      throughText(saved.SoundEffect[s][k].value, 6));
        EXPECT_EQ(loaded.SoundType[s], saved.SoundType[s]);
        if (saved.SoundType[s] != 1) continue;
        EXPECT_EQ(loaded.SoundFileParams[s].fileSampleRate,
                  saved.SoundFileParams[s].fileSampleRate);
        EXPECT_EQ(loaded.SoundFileParams[s].fileChannels, saved.SoundFileParams[s].fileChannels);
        EXPECT_EQ(loaded.SoundFileParams[s].fileReserved, saved.SoundFileParams[s].fileReserved);
        EXPECT_EQ(loaded.SoundFileLoop[s].loopStart, saved.SoundFileLoop[s].loopStart);
        EXPECT_EQ(loaded.SoundFileLoop[s].loopEnd, saved.SoundFileLoop[s].loopEnd);
        ASSERT_EQ(loaded.SoundFileVals[s].fileSampleCount, saved.SoundFileVals[s].fileSampleCount);
        for (int k = 0; k < saved.SoundFileVals[s].fileSampleCount; ++k)
            ASSERT_EQ(loaded.SoundFileVals[s].fileSamples[k],
                      throughText(saved.SoundFileVals[s].fileSamples[k], 2));
    }
    for (int e = 0; e < kEnvelopeBankCount; ++e) {
        EXPECT_EQ(std::memcmp(&loaded.EnvelopeParams[e], &saved.EnvelopeParams[e],
                              sizeof saved.EnvelopeParams[e]),
                  0);
        for (int p = 0; p < kEnvelopePoints - 1; ++p) {
            ASSERT_EQ(loaded.Envelope[e][p], throughText(saved.Envelope[e][p], 3));
            ASSERT_EQ(loaded.Pitch[e][p], throughText(saved.Pitch[e][p], 3));
            ASSERT_EQ(loaded.Cutoff[e][p], throughText(saved.Cutoff[e][p], 3));
            ASSERT_EQ(loaded.Ratio[e][p], throughText(saved.Ratio[e][p], 3));
        }
    }
}

TEST(SongFile, RoundTripKeepsEverySavedValue) {
    ScratchFolder folder;
    auto saved = makeSong();
    fillSong(*saved);
    const std::string path = folder.file("song.zwv");
    ASSERT_EQ(writeSongFile(*saved, path), SongFileWrite::Written);

    auto loaded = makeSong();
    loaded->PatternIdx[2] = 9;
    const std::string first = readFile(path);
    ASSERT_EQ(readSongText(*loaded, first, {}).errorMessage, nullptr);
    expectLoaded(*saved, *loaded);
    EXPECT_EQ(loaded->PatternIdx[2], 9) << "PatternIdx is written but never read";
    // Saving what was loaded writes the same text again.
    std::memcpy(loaded->PatternIdx, saved->PatternIdx, sizeof saved->PatternIdx);
    const std::string again = songText(*loaded);
    const size_t differs =
        std::mismatch(again.begin(), again.end(), first.begin()).first - again.begin();
    EXPECT_EQ(again.substr(differs < 40 ? 0 : differs - 40, 80),
              first.substr(differs < 40 ? 0 : differs - 40, 80));
}

TEST(SongFile, WriterLinesAndOrder) {
    auto made = makeSong();
    Song& song = *made;
    song.SoundType[3] = 1;
    song.SoundFileParams[3] = {44100, 2, 7};
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    samples[0] = -1.005f;
    samples[1] = 127.0f;
    song.SoundFileVals[3].fileSamples = samples;
    song.SoundFileVals[3].fileSampleCount = 3;
    song.noteGrid[1].notePosition[17][3] = 2;
    song.noteGrid[1].nextRow[17][3] = -1;
    song.noteGrid[1].noteLength[17][3] = 2;
    song.noteGrid[1].notePosition[16][4] = 1;
    song.noteGrid[1].nextRow[16][4] = 3;
    song.noteGrid[1].noteLength[16][4] = 2;
    song.Chorus[2].count = 0;
    const std::string text = songText(song);

    EXPECT_EQ(text.rfind("v3\nBPM 70.00000\nMainVolume 0.600 0.600\nVolume 0 0.600\nOct 0 1\n"
                         "Mute 0 0\nBPMsr 0 16\nEnvIdx 0 0\nSoundIdx 0 0\n"
                         "BGR 0 0.000 200.000 200.000\nEffectDim 0 0 1\n"
                         "DelayParams 0 3 6 1.000000 4.100000 0.000000 0.500000 0.000000 "
                         "0.500000 1.000000 4.100000 0.000000 0.500000 0.000000 0.500000 "
                         "1.000000 4.100000 0.000000 0.500000 0.000000 0.500000 \n"
                         "PatternStack 0 8 0 0 -1 -1 -1 -1 -1 -1 -1 \nPatternIdx 0 0\n"
                         "Effect 0 16 1.000 0.000 0.400 0.000 0.000 0.000 0.000 0.000 0.000 "
                         "0.000 0.250 0.500 0.000 0.000 0.000 0.000 \nNumNotes 0 0\nPan 0\n0.500 ",
                         0),
              0u);
    EXPECT_NE(text.find("NumNotes 1 2\n16 4 1 3 2\n17 3 2 -1 2\nPan 1\n"), std::string::npos);
    EXPECT_NE(text.find("\nChorus 0 1\n0.000 1.000 \nVolume 1 "), std::string::npos);
    EXPECT_NE(text.find("\nChorus 2 0\n\nVolume 3 "), std::string::npos);
    EXPECT_NE(
        text.find("SoundEffect 0 3 0.000000 0.000000 0.000000 \nSoundType 0 0\nSound 1 350\n"),
        std::string::npos);
    EXPECT_NE(text.find("SoundType 3 1\nSoundFileParams 3 44100 2 7\nSoundFileLoop 3 0 350\n"
                        "SoundFileVals 3 3 -1.00 127.00 0.00 \nSound 4 350\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nEnvelopeParams 1 150 150 299 1\nEnvelope 1 300\n1.000 0.997 "),
              std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // The file ends with the last ratio curve's 300 points.
    EXPECT_EQ(text.substr(text.size() - 13), "0.500 0.500 \n");
    EXPECT_NE(text.find("\nRatio 7 300\n"), std::string::npos);
}

// Reads `text` into `song` and returns the message of the entry that failed, if any.
std::vector<std::string> load(Song& song, const std::string& text) {
    const char* message = readSongText(song, text, {}).errorMessage;
    return message ? std::vector<std::string>{message} : std::vector<std::string>{};
}

TEST(SongFile, ReaderEdgeCasesOfTheFormat) {
    auto made = makeSong();
    Song& song = *made;
    float before[kWaveformSamples];
    std::memcpy(before, song.Sound[2], sizeof before);

    // A partial "Sound" entry changes only the samples it gives.
    std::string partial = "v3 Sound 2 100";
    for (int k = 0; k < 100; ++k) partial += " 9.5";
    EXPECT_TRUE(load(song, partial).empty());
    EXPECT_EQ(song.Sound[2][99], 9.5f);
    EXPECT_EQ(song.Sound[2][100], before[100]);
    EXPECT_EQ(song.Sound[2][349], before[349]);

    EXPECT_TRUE(load(song, "v3\nBPM 120\n").empty());
    EXPECT_EQ(song.BPM, 120.0f);

    // Unknown words and their numbers are skipped token by token; so are extra values.
    std::string extras = "hello 1 2 3 Volume 1 0.25 Effect 0 18";
    for (int k = 0; k < 18; ++k) extras += " 0." + std::to_string(k + 10);
    extras += " PatternStack 3 10 1 5 4 3 2 1 0 9 8 7 6";
    EXPECT_TRUE(load(song, extras).empty());
    EXPECT_EQ(song.Volume[1], 0.25f);
    EXPECT_EQ(song.Effect[0][15].value, 0.25f);
    EXPECT_EQ(song.PatternStack[3].stackMode, 1);
    EXPECT_EQ(song.PatternStack[3].entries[7], 8);
    EXPECT_EQ(song.Volume[0], 0.6f) << "the values 7 and 6 were skipped, not read as Volume";

    // Volume for instrument 7 changes nothing; its value is skipped as a token.
    EXPECT_TRUE(load(song, "Volume 7 0.9 Mute 2 1").empty());
    for (float v : song.Volume) EXPECT_NE(v, 0.9f);
    EXPECT_EQ(song.Mute[2], 1);

    // A "DelayParams" entry declaring 2 delays of 4 values still reads 18.
    std::string delays = "DelayParams 1 2 4";
    for (int k = 0; k < 18; ++k) delays += " " + std::to_string(k);
    EXPECT_TRUE(load(song, delays + " BPM 99").empty());
    EXPECT_EQ(song.DelayParams[1][2][5], 17.0f);
    EXPECT_EQ(song.BPM, 99.0f);

    // A "Pan" list cut off by the end of the file loads without a message.
    std::string cut = "BPM 80 Pan 3";
    for (int k = 0; k < 100; ++k) cut += " 0.125";
    EXPECT_TRUE(load(song, cut).empty());
    EXPECT_EQ(song.Pan[3][99], 0.125f);
    EXPECT_EQ(song.Pan[3][100], 0.5f);
}

TEST(SongFile, VersionStepConvertsOldEffectLines) {
    auto made = makeSong();
    Song& song = *made;
    const std::string knobs = " 0 0 0 0 0 0 0 0 0 0 0.5 0.25 0.3 0.7 0.2 0.9";
    EXPECT_TRUE(load(song, "v2 Effect 1 16" + knobs).empty());
    const float expected[kDelayValues] = {2.0f, 4.1f, 0.5f, 0.3f, 0.0f, 0.5f};
    for (int v = 0; v < kDelayValues; ++v) EXPECT_FLOAT_EQ(song.DelayParams[1][0][v], expected[v]);
    const float defaults[kDelayValues] = {1.0f, 4.1f, 0.0f, 0.5f, 0.0f, 0.5f};
    for (int d = 1; d < kDelayCount; ++d)
        for (int v = 0; v < kDelayValues; ++v) EXPECT_EQ(song.DelayParams[1][d][v], defaults[v]);
    EXPECT_EQ(song.Effect[1][10].value, 0.7f);
    EXPECT_EQ(song.Effect[1][11].value, 0.2f);
    EXPECT_EQ(song.Effect[1][12].value, 0.3f);

    EXPECT_TRUE(load(song, "v1 Effect 2 16" + knobs).empty());
    EXPECT_EQ(song.Effect[2][10].value, 0.7f);
    EXPECT_EQ(song.Effect[2][11].value, 0.5f);
    EXPECT_FLOAT_EQ(song.DelayParams[2][0][kDelayFeedback], 0.5f);

    // Version 3 (and a file without a version token) needs no step.
    EXPECT_TRUE(load(song, "v3 Effect 3 16" + knobs).empty());
    EXPECT_EQ(song.Effect[3][10].value, 0.5f);
    EXPECT_EQ(song.DelayParams[3][0][0], 1.0f);
}

TEST(SongFile, ErrorInTheMiddleKeepsWhatWasRead) {
    auto made = makeSong();
    Song& song = *made;
    EXPECT_EQ(load(song, "v3 BPM 150 Volume 0 0.125 Oct 1 two Mute 1 1"),
              std::vector<std::string>{"Couldn't read inst octave "});
    EXPECT_EQ(song.BPM, 150.0f);
    EXPECT_EQ(song.Volume[0], 0.125f);
    EXPECT_EQ(song.Mute[1], 0);
}

// Each slot's drawing and knobs are reported where they are read, with the song as read so far,
// so that the caller's rebuilds see what the file had stored by then.
TEST(SongFile, WaveformEntriesAreReportedWhereTheyAreRead) {
    auto made = makeSong();
    Song& song = *made;
    struct Report {
        int slot;
        float bpm, sample, noise;
    };
    std::vector<Report> reports;
    const WaveformChanged record = [&](int slot) {
        reports.push_back({slot, song.BPM, song.Sound[slot][1], song.SoundEffect[slot][2].value});
    };
    const char* text = "Sound 2 2 1 7 BPM 90 SoundEffect 5 3 0.1 0.2 0.3 Sound 9 1 5 "
                       "SoundEffect -1 1 0.5 SoundEffect 1 3 0.1 x";
    EXPECT_EQ(readSongText(song, text, record).errorMessage,
              std::string("Couldn't read sound effect setting "));
    ASSERT_EQ(reports.size(), 2u) << "slots outside 0..7, cut entries and failed entries are not";
    EXPECT_EQ(reports[0].slot, 2);
    EXPECT_EQ(reports[0].bpm, 70.0f);
    EXPECT_EQ(reports[0].sample, 7.0f);
    EXPECT_EQ(reports[1].slot, 5);
    EXPECT_EQ(reports[1].bpm, 90.0f);
    EXPECT_EQ(reports[1].noise, 0.3f);

    reports.clear();
    EXPECT_EQ(readSongText(song, "Sound 3 2 1 x", record).errorMessage,
              std::string("Couldn't read sound buffer "));
    EXPECT_TRUE(reports.empty());

    // A "Sound" entry cut short by the end of the text is no failure: it is reported.
    EXPECT_EQ(readSongText(song, "Sound 4 350 1 2", record).errorMessage, nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].sample, 2.0f);
}

TEST(SongFile, EveryEntryReportsItsOwnMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"BPM x", "Couldn't read BPM "},
        {"MainVolume 0.5 x", "Couldn't read Main Volume"},
        {"Volume x", "Couldn't read inst volume "},
        {"Volume 0 x", "Couldn't read inst volume "},
        {"Oct 0 x", "Couldn't read inst octave "},
        {"BPMsr 0 x", "Couldn't read beats per measure "},
        {"Mute 0 x", "Couldn't read mute "},
        {"PatternStack 0 x", "Couldn't read pattern stack index "},
        {"PatternStack 0 8 x", "Couldn't read pattern stack type "},
        {"PatternStack 0 8 0 1 x", "Couldn't read pattern stack "},
        {"EnvIdx 0 x", "Couldn't read envelope index "},
        {"SoundIdx 0 x", "Couldn't read sound index "},
        {"BGR 0 1 2 x", "Couldn't read BGR "},
        {"EffectDim 0 1 x", "Couldn't read Effect Dimensions "},
        {"Effect 0 x", "Couldn't read number of effects "},
        {"Effect 0 16 0.5 x", "Couldn't read effect setting "},
        {"SoundFileVals x", "Couldn't read sound index "},
        {"SoundFileVals 0 x", "Couldn't read sound file length "},
        {"SoundFileVals 0 400001 1", "Sound file buffer too long "},
        {"SoundFileVals 0 3 1 x", "Couldn't read sound file buffer "},
        {"SoundFileParams x", "Couldn't read sound index "},
        {"SoundFileParams 0 22050 x", "Couldn't read sound parameters "},
        {"SoundFileLoop x", "Couldn't read sound loop index "},
        {"SoundFileLoop 0 1 x", "Couldn't read sound loop "},
        {"SoundType x", "Couldn't read sound index "},
        {"SoundType 0 x", "Couldn't read sound type "},
        {"SoundEffect 0 x", "Couldn't read number of sound effects "},
        {"SoundEffect 0 3 0.5 x", "Couldn't read sound effect setting "},
        {"NumNotes 0 x", "Couldn't read number of notes "},
        {"NumNotes 0 1 1 2 x", "Couldn't read notes "},
        {"Pan 0 0.5 x", "Couldn't read Pan "},
        {"Vel x", "Couldn't read Velocity "},
        {"Chorus 0 x", "Couldn't read Chorus "},
        {"Chorus 0 1 0.5 x", "Couldn't read Chorus "},
        {"Sound 0 x", "Couldn't read Sound "},
        {"Sound 0 351", "Too many sound samples"},
        {"Sound 0 2 1 x", "Couldn't read sound buffer "},
        {"Envelope 0 301", "Too many envelope samples"},
        {"Envelope x", "Couldn't read envelope "},
        {"Envelope 0 2 0.5 x", "Couldn't read envelope buffer "},
        {"Pitch 0 x", "Couldn't read pitch "},
        {"Pitch 0 1 x", "Couldn't read pitch buffer "},
        {"Cutoff x", "Couldn't read cutoff "},
        {"Cutoff 0 301", "Too many envelope samples"},
        {"Cutoff 0 1 x", "Couldn't read cutoff buffer "},
        {"Ratio 0 x", "Couldn't read ratio "},
        {"Ratio 0 1 x", "Couldn't read ratio buffer "},
        {"EnvelopeParams x", "Couldn't read envelope "},
        {"EnvelopeParams 0 1 2 x", "Couldn't read envelope "},
        {"DelayParams 0 3 x", "Couldn't read delay "},
        {"DelayParams 0 4 6", "Too many delays or parameters "},
        {"DelayParams 0 3 7", "Too many delays or parameters "},
        {"DelayParams 0 3 6 1 x", "Couldn't read delay parameters "},
    };
    for (const auto& [text, message] : cases) {
        auto song = makeSong();
        EXPECT_EQ(load(*song, text), std::vector<std::string>{message}) << text;
    }
}

TEST(SongFile, DamagedIndicesAndCountsNeverLeaveTheSong) {
    auto made = makeSong();
    auto reference = makeSong();
    Song& song = *made;
    const std::string damaged =
        "Sound 8 2 1 1 Sound -1 1 5 Envelope 8 1 0.5 Pitch -3 1 0.5 EnvelopeParams 8 1 2 3 0 "
        "EnvelopeParams 0 400 -5 299 1 DelayParams 4 3 6 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 "
        "17 18 SoundEffect 0 4 0.1 0.2 0.3 0.4 SoundEffect -1 1 0.5 Chorus 0 993 1 1 "
        "Chorus -2 1 1 1 Volume -1 0.9 Oct 0 4 Oct 1 -1 BPMsr 0 0 BPMsr 1 17 EnvIdx 0 8 "
        "SoundIdx 0 -1 EffectDim 0 16 -1 PatternStack 0 3 0 16 -2 3 "
        "SoundFileVals 0 -5 SoundFileParams 1 48000 3 9 SoundFileLoop 1 350 0 SoundType 1 2 "
        "NumNotes 2 5 300 1 1 -1 1  1 24 1 -1 1  -1 0 1 -1 1  3 3 257 24 0  4 4 1 -1 1";
    EXPECT_EQ(load(song, damaged), std::vector<std::string>{});
    const Song& before = *reference;
    EXPECT_EQ(std::memcmp(song.Sound, before.Sound, sizeof song.Sound), 0);
    EXPECT_EQ(std::memcmp(song.Envelope, before.Envelope, sizeof song.Envelope), 0);
    EXPECT_EQ(std::memcmp(song.Pitch, before.Pitch, sizeof song.Pitch), 0);
    EXPECT_EQ(song.EnvelopeParams[0].sustainStart, before.EnvelopeParams[0].sustainStart);
    EXPECT_EQ(song.EnvelopeParams[0].sustainEnd, before.EnvelopeParams[0].sustainEnd);
    EXPECT_EQ(song.EnvelopeParams[0].releaseEnd, 299);
    EXPECT_EQ(song.EnvelopeParams[0].envelopeMode, 1);
    EXPECT_EQ(std::memcmp(song.DelayParams, before.DelayParams, sizeof song.DelayParams), 0);
    for (int k = 0; k < kWaveformKnobCount; ++k) EXPECT_EQ(song.SoundEffect[0][k].value, 0.0f);
    EXPECT_EQ(song.Chorus[0].count, 1);
    EXPECT_EQ(std::memcmp(song.Volume, before.Volume, sizeof song.Volume), 0);
    EXPECT_EQ(song.Oct[0], 1);
    EXPECT_EQ(song.Oct[1], 1);
    EXPECT_EQ(song.BPMsr[0], 16);
    EXPECT_EQ(song.BPMsr[1], 16);
    EXPECT_EQ(song.EnvIdx[0], 0);
    EXPECT_EQ(song.SoundIdx[0], 0);
    EXPECT_EQ(song.EffectDim[0].xKnob, 0);
    EXPECT_EQ(song.EffectDim[0].yKnob, 1);
    EXPECT_EQ(song.PatternStack[0].entries[0], 0) << "16 is no bank";
    EXPECT_EQ(song.PatternStack[0].entries[1], -1) << "-2 is no entry";
    EXPECT_EQ(song.PatternStack[0].entries[2], 3);
    EXPECT_FALSE(song.SoundFileVals[0].fileSamples) << "a negative length is refused";
    EXPECT_EQ(song.SoundFileParams[1].fileSampleRate, before.SoundFileParams[1].fileSampleRate);
    EXPECT_EQ(song.SoundFileParams[1].fileChannels, before.SoundFileParams[1].fileChannels);
    EXPECT_EQ(song.SoundFileParams[1].fileReserved, 9);
    EXPECT_EQ(song.SoundFileLoop[1].loopStart, 0);
    EXPECT_EQ(song.SoundFileLoop[1].loopEnd, 350);
    EXPECT_EQ(song.SoundType[1], 0);
    // Of five note groups only the last one names a cell; the fourth names one with values
    // out of range, which stays empty.
    int notes = 0;
    for (auto& step : song.noteGrid[2].notePosition)
        for (int32_t position : step) notes += position != 0;
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(song.noteGrid[2].notePosition[4][4], 1);
    EXPECT_EQ(song.noteGrid[2].notePosition[3][3], 0);
    EXPECT_EQ(song.noteGrid[2].nextRow[3][3], -1);
    EXPECT_EQ(song.noteGrid[2].noteLength[3][3], 0);

    // A refused sound-file length is never stored.
    auto big = makeSong();
    EXPECT_EQ(load(*big, "SoundFileVals 2 400001"),
              std::vector<std::string>{"Sound file buffer too long "});
    EXPECT_FALSE(big->SoundFileVals[2].fileSamples);
}

TEST(SongFile, SoundFileSamplesCutShortKeepTheEarlierOnesAfterThem) {
    auto made = makeSong();
    Song& song = *made;
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    for (int k = 0; k < 10; ++k) samples[k] = 100.0f + k;
    song.SoundFileVals[2].fileSamples = samples;
    song.SoundFileVals[2].fileSampleCount = 10;
    const std::shared_ptr<const float[]> before = song.SoundFileVals[2].fileSamples;

    EXPECT_TRUE(load(song, "SoundFileVals 2 4 1.5 2.5").empty());
    const float* now = song.SoundFileVals[2].fileSamples.get();
    EXPECT_EQ(song.SoundFileVals[2].fileSampleCount, 4);
    EXPECT_EQ(now[0], 1.5f);
    EXPECT_EQ(now[1], 2.5f);
    EXPECT_EQ(now[2], 102.0f);
    EXPECT_EQ(now[9], 109.0f);
    EXPECT_EQ(before[0], 100.0f) << "a copy of the song holding the old samples keeps them";

    EXPECT_EQ(load(song, "SoundFileVals 2 3 7 x"),
              std::vector<std::string>{"Couldn't read sound file buffer "});
    EXPECT_EQ(song.SoundFileVals[2].fileSamples[0], 7.0f);
    EXPECT_EQ(song.SoundFileVals[2].fileSamples[1], 2.5f);
    EXPECT_EQ(song.SoundFileVals[2].fileSampleCount, 3);
}

TEST(SongFile, TokensLongerThanNinetyNineCharactersAreNoKeyword) {
    auto made = makeSong();
    Song& song = *made;
    // 99 characters then "BPM": read 99 at a time, the tail would be a keyword.
    EXPECT_TRUE(load(song, std::string(99, 'x') + "BPM 200 " + std::string(97, 'y') +
                               "v1 Effect 0 16 0 0 0 0 0 0 0 0 0 0 0.5 0.5 0.5 0.5 0.5 0.5")
                    .empty());
    EXPECT_EQ(song.BPM, 70.0f);
    EXPECT_EQ(song.Effect[0][11].value, 0.5f) << "no version token was read";
    // A keyword glued to other text, or cut by a NUL byte, is no keyword either: this text has
    // none.
    EXPECT_TRUE(load(song, std::string("BPM\0 150 BPMx 160", 17)).empty());
    EXPECT_EQ(song.BPM, 70.0f);
}

TEST(SongFile, NumNotesEmptiesTheGridFirst) {
    auto made = makeSong();
    Song& song = *made;
    NoteGrid& grid = song.noteGrid[1];
    grid.notePosition[5][5] = 1;
    grid.notePosition[6][6] = 1;
    EXPECT_TRUE(load(song, "NumNotes 1 1 6 6 1 -1 1").empty());
    EXPECT_EQ(grid.notePosition[5][5], 0);
    EXPECT_EQ(grid.notePosition[6][6], 1);
    EXPECT_TRUE(load(song, "NumNotes 1 0").empty());
    EXPECT_EQ(grid.notePosition[6][6], 0);
}

std::vector<std::string> folderEntries(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    while (dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    closedir(dir);
    return names;
}

TEST(SongFile, SaveNeverDestroysThePreviousFile) {
    ScratchFolder folder;
    auto made = makeSong();
    Song& song = *made;
    const std::string path = folder.file("keep.zwv");
    writeFile(path, "old contents");
    chmod(path.c_str(), 0640);

    // A write that fails part way (the file-size limit) leaves the old file and no debris.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const SongFileWrite cut = writeSongFile(song, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(cut, SongFileWrite::NotWritten);
    EXPECT_EQ(readFile(path), "old contents");
    EXPECT_EQ(folderEntries(folder.path), std::vector<std::string>{"keep.zwv"});

    // A successful save replaces the contents and keeps the permissions.
    EXPECT_EQ(writeSongFile(song, path), SongFileWrite::Written);
    EXPECT_EQ(readFile(path), songText(song));
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // Saving through a link replaces the linked file and keeps the link.
    const std::string link = folder.file("link.zwv");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    song.BPM = 111.0f;
    EXPECT_EQ(writeSongFile(song, link), SongFileWrite::Written);
    struct stat linkInfo;
    ASSERT_EQ(lstat(link.c_str(), &linkInfo), 0);
    EXPECT_TRUE(S_ISLNK(linkInfo.st_mode));
    EXPECT_EQ(readFile(path), songText(song));

    // A folder that does not exist, or a folder in the file's place: nothing is created.
    EXPECT_EQ(writeSongFile(song, folder.file("none/x.zwv")), SongFileWrite::NotCreated);
    EXPECT_EQ(writeSongFile(song, folder.path), SongFileWrite::NotCreated);
}

} // namespace
