// The wave editor (one surface per waveform) and the row of wave buttons.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/safe_convert.h"
#include "ui/knob_labels.h"
#include "ui/panel_geometry.h"
#include "ui/panel_renderers.h"

namespace {

constexpr int kPlotLeft = 44; // first column of the plot
constexpr int kPlotTop = 4;   // first row of the plot
constexpr int kButtonWidth = kWaveButtonWidth;

// Samples of an imported file that one 16-step note bank lasts at the file's rate: the file
// rate times the samples per step times 16, over the output rate; 0 for a damaged rate.
double bankSamplesAtFileRate(const Song& song, StreamClock clock, int waveform) {
    const double fileRate = song.SoundFileParams[waveform].fileSampleRate;
    const double outputRate = clock.streamRate;
    if (!(fileRate > 0) || !(outputRate > 0)) return 0;
    return std::floor(fileRate * clock.chunkFrames * kStepsPerBank / outputRate);
}

void drawWaveEditorBackground(PanelCanvas& canvas, const Screen& screen,
                              const float backgroundColour[3]) {
    fillRect(canvas, 4, 44, 124, 398, 20, 20, 20);
    for (int k = 1; k <= 7; ++k) {
        const float g = k == 4 ? 180 : 80;
        fillRect(canvas, 15 * k + 4, 44, 15 * k + 5, 398, g, g, g);
    }
    for (int k = 1; k <= 7; ++k) {
        const float g = k == 4 ? 180 : 80;
        const int col = 350 * k / 8 + 44;
        fillRect(canvas, 4, col, 124, col + 1, g, g, g);
    }
    fillBrushedMetal(canvas, screen.metalNoise, 0, 0, 128, 40, 0.8f);
    for (int t : {4, 44, 84}) {
        fillRect(canvas, t, 0, t + 8, 40, 0, 0, 0);
        fillRect(canvas, t, 0, t + 1, 40, 60, 60, 60);
        fillRect(canvas, t + 8, 0, t + 9, 40, 140, 140, 140);
    }
    drawFrame(canvas, backgroundColour, 0, 0, 128, 40, 4, false);
}

// The caption of a waveform knob: its value while dragged, else its short name (imported
// files show only NOISE).
void knobLabel(const Song& song, const DragState& drag, int waveform, int knob, char* text,
               size_t size) {
    const KnobRecord& record = song.SoundEffect[waveform][knob];
    if (drag.waveDragMode == knob) {
        std::snprintf(text, size, "%d", truncToInt(record.value * 100.0f));
    } else if (song.SoundType[waveform] == 1) {
        std::snprintf(text, size, "%s", knob == kKnobNoise ? "NOISE" : "");
    } else {
        std::snprintf(text, size, "%s", waveformKnobLabel(knob).shortName);
    }
}

// Row of a sample value: -128 at row 4, 0 at row 64, 128 at row 124.
float sampleRow(float v) {
    return (v + 128.0f) * 120.0f / 256.0f + 4.0f;
}

void drawTrace(PanelCanvas& canvas, const float* samples, float red, float green, float blue) {
    for (int i = 0; i < kWaveformSamples - 1; ++i)
        drawLine(canvas, static_cast<float>(kPlotLeft + i), sampleRow(samples[i]),
                 static_cast<float>(kPlotLeft + 1 + i), sampleRow(samples[i + 1]), red, green,
                 blue);
}

// Frames of an imported file that one pixel column stands for: 1/350 of a 16-step note bank
// at the file's rate. (Worked out in doubles: a damaged rate cannot overflow, and a file slower
// than the output still gets its share instead of none.)
long long framesPerColumn(const Song& song, StreamClock clock, int waveform) {
    return truncClamped(bankSamplesAtFileRate(song, clock, waveform) / kWaveformSamples, 0,
                        kMaxFileSamples);
}

// One min/max bar of the imported file's picture, green 200, centred on row k with half
// height h.
void drawLevelBar(PanelCanvas& canvas, int col, float minimum, float maximum, float k, float h) {
    const int first = kPlotTop + truncClamped(k - maximum * h / 127.0f, -1000, 1000) - 1;
    const int last = kPlotTop + truncClamped(k - minimum * h / 127.0f, -1000, 1000) + 1;
    for (int row = std::max(first, 0); row <= std::min(last, canvas.height - 1); ++row)
        setChannel(canvas, row, col, kGreen, 200);
}

void drawImportedFile(PanelCanvas& canvas, const Song& song, StreamClock clock, int waveform) {
    const FileSamples& file = song.SoundFileVals[waveform];
    const bool stereo = song.SoundFileParams[waveform].fileChannels == 2;
    const float* samples = file.fileSamples.get();
    const long long count =
        samples ? std::clamp<long long>(file.fileSampleCount, 0, kMaxFileSamples) : 0;
    // A stereo file holds two samples per frame: a column takes both, so that the 350 columns
    // still span one note bank.
    const long long perColumn = framesPerColumn(song, clock, waveform) * (stereo ? 2 : 1);
    long long position = 0;
    for (int x = 0; x < kWaveformSamples; ++x) {
        float low[2] = {0, 0};
        float high[2] = {0, 0};
        for (long long n = 0; n < perColumn && position < count; ++n, ++position) {
            const int side = stereo ? static_cast<int>(position % 2) : 0;
            low[side] = std::min(low[side], samples[position]);
            high[side] = std::max(high[side], samples[position]);
        }
        const int col = kPlotLeft + x;
        if (stereo) {
            drawLevelBar(canvas, col, low[0], high[0], 30, 30);
            drawLevelBar(canvas, col, low[1], high[1], 90, 30);
        } else {
            drawLevelBar(canvas, col, low[0], high[0], 60, 60);
        }
    }
    const LoopMarkers& loop = song.SoundFileLoop[waveform];
    for (int col : {clampInt(loop.loopStart, -1000, 1000) + kPlotLeft,
                    clampInt(loop.loopEnd, -1000, 1000) + kPlotLeft - 1}) {
        for (int row = kPlotTop; row <= 123; ++row) {
            setChannel(canvas, row, col, kGreen, 250);
            setChannel(canvas, row, col, kRed, 250);
        }
    }
}

} // namespace

void renderWaveEditor(const Song& song, const PlaybackWaveformRows& playback, const UiState& ui,
                      const DragState& drag, StreamClock clock, Screen& screen, int waveform) {
    waveform = clampInt(waveform, 0, kWaveformSlotCount - 1);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::WaveEditor);
    const float* backgroundColour = ui.backgroundColour;
    if (!restoreCachedBackground(canvas)) {
        drawWaveEditorBackground(canvas, screen, backgroundColour);
        cacheBackground(canvas);
    }
    const PanelCanvas& font = screen.glyphs.text;
    char text[32];
    std::snprintf(text, sizeof text, "WAVEFORM %d", waveform + 1);
    drawText(canvas, font, 12, 54, 0, true, 0.8f, 0.8f, 0.0f, text);
    for (int j = 0; j < kWaveformKnobCount; ++j) {
        knobLabel(song, drag, waveform, j, text, sizeof text);
        const int length = static_cast<int>(std::strlen(text));
        drawText(canvas, font, 5 + 40 * j, 19 - (5 * length) / 2, 0, true, 0.0f, 0.8f, 0.0f, text);
        drawKnob(canvas, 4, 11 + 40 * j, song.SoundEffect[waveform][j].value);
    }
    if (song.SoundType[waveform] == 1) {
        drawImportedFile(canvas, song, clock, waveform);
    } else {
        drawTrace(canvas, playback[waveform], 0, 0, 255);
        drawTrace(canvas, song.Sound[waveform], 0, 255, 0);
    }
    drawFrame(canvas, backgroundColour, 0, 40, 128, 399, 4, false);
}

namespace {

void drawDrawnMiniature(PanelCanvas& canvas, const float* samples, int left, float brightness) {
    for (int k = 0; k < 39; ++k) {
        const float v = samples[k * kWaveformSamples / 39];
        const int row = truncClamped((v + 127.0f) / 254.0f * 18.0f, -1000, 1000) + 2;
        setChannel(canvas, row, left + 2 + k, kGreen, brightness);
    }
}

void drawImportedMiniature(PanelCanvas& canvas, const Song& song, StreamClock clock, int waveform,
                           int left, float brightness) {
    const FileSamples& file = song.SoundFileVals[waveform];
    const float* samples = file.fileSamples.get();
    const long long count =
        samples ? std::clamp<long long>(file.fileSampleCount, 0, kMaxFileSamples) : 0;
    const long long channels =
        std::clamp<long long>(song.SoundFileParams[waveform].fileChannels, 1, 2);
    const long long perColumn =
        truncClamped(bankSamplesAtFileRate(song, clock, waveform), 0, kMaxFileSamples) /
        kButtonWidth;
    long long position = 0;
    for (int x = 0; x < kButtonWidth; ++x) {
        float low = 0;
        float high = 0;
        // Every tenth sample is enough for a 23-pixel picture.
        for (long long stepped = 0; stepped < perColumn * channels && position < count;
             stepped += 10, position += 10) {
            low = std::min(low, samples[position]);
            high = std::max(high, samples[position]);
        }
        const int first = truncClamped(11.0f - 23.0f * high / 127.0f / 2.0f, -1000, 1000);
        const int last = truncClamped(11.0f - 23.0f * low / 127.0f / 2.0f, -1000, 1000);
        for (int row = std::max(first, 0); row <= std::min(last, canvas.height - 1); ++row)
            setChannel(canvas, row, left + x, kGreen, brightness);
    }
}

} // namespace

void renderWaveButtons(const Song& song, const UiState& ui, StreamClock clock, Screen& screen,
                       int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::WaveButtons);
    clearCanvas(canvas);
    const int selected = song.SoundIdx[clampInt(instrument, 0, kInstrumentCount - 1)];
    for (int s = 0; s < kWaveformSlotCount; ++s) {
        const int left = kButtonWidth * s;
        const float brightness = s == selected ? 250.0f : 125.0f;
        if (song.SoundType[s] == 1)
            drawImportedMiniature(canvas, song, clock, s, left, brightness);
        else
            drawDrawnMiniature(canvas, song.Sound[s], left, brightness);
        drawFrame(canvas, ui.backgroundColour, 0, left, 23, left + kButtonWidth, 2, s == selected);
    }
}
