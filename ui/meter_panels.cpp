// Meters, mixer and help line: volume and CPU meters, main volume, instrument buttons and
// control, and the hover help line.
#include <cmath>

#include "ui/panel_geometry.h"
#include "ui/panel_renderers.h"
#include "ui/panel_values.h"

namespace {

void grey(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol, float v) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, v, v, v);
}

// ---- Volume meter ----

constexpr float kMeterWidth = 83.0f;
constexpr float kPivotX = 41.0f;
constexpr float kPivotY = 52.0f; // 9 x 70 / 12
constexpr float kDialSweep = 2.8f;
constexpr float kDialStart = 0.1708f;

void drawDial(PanelCanvas& canvas) {
    clearCanvas(canvas);
    const float outer = 0.4f * kMeterWidth + 3.0f;
    drawDisc(canvas, 42, kPivotY, outer, 200, 200, 100);
    drawDisc(canvas, 40, kPivotY, outer, 120, 120, 100);
    drawDisc(canvas, 41, kPivotY, outer, 160, 160, 100);
    const float inner = 0.25f * kMeterWidth + 3.0f;
    drawDisc(canvas, 42, kPivotY, inner, 140, 140, 100);
    drawDisc(canvas, 40, kPivotY, inner, 200, 200, 100);
    drawDisc(canvas, 41, kPivotY, inner, 180, 180, 100);
    for (int k = 0; k <= 8; ++k) {
        const float a = static_cast<float>(k) / 8.0f * kDialSweep + kDialStart;
        const float from = (k % 4 == 0 ? 0.32f : 0.36f) * kMeterWidth;
        const float to = 0.4f * kMeterWidth;
        const float x0 = from * std::cos(a) + kPivotX, y0 = kPivotY - from * std::sin(a);
        const float x1 = to * std::cos(a) + kPivotX, y1 = kPivotY - to * std::sin(a);
        drawLine(canvas, x0 + 0.5f, y0, x1 + 0.5f, y1, 200, 200, 200);
        drawLine(canvas, x0, y0, x1, y1, 20, 20, 20);
    }
}

// The red of the clip flash while the mix has clipped recently, -1 without flash.
float clipFlashRed(float clipped) {
    if (!(clipped > 0.01f)) return -1.0f;
    return 150.0f * (clipped < 1.0f ? clipped : 1.0f);
}

// Red over the black parts of the dial; none for a negative red.
void drawClipFlash(PanelCanvas& canvas, float red) {
    if (red < 0.0f) return;
    for (int row = 4; row <= 65; ++row)
        for (int col = 4; col <= 78; ++col)
            if (getChannel(canvas, row, col, kBlue) == 0) setChannel(canvas, row, col, kRed, red);
}

float needlePosition(float volumeLevel) {
    return unitValue(volumeLevel / 127.0f);
}

// The needle at position v (0..1, left to right).
void drawNeedle(PanelCanvas& canvas, float v) {
    const float a = (1.0f - v) * kDialSweep + kDialStart;
    const float tipX = 33.2f * std::cos(a) + kPivotX;
    const float tipY = kPivotY - 33.2f * std::sin(a);
    drawLine(canvas, 40, kPivotY, tipX, tipY, 80, 80, 80);
    drawLine(canvas, 42, kPivotY, tipX, tipY, 120, 120, 120);
    drawDisc(canvas, kPivotX, kPivotY, 7, 40, 40, 40);
    drawDisc(canvas, kPivotX, kPivotY, 6, 90, 90, 90);
}

int cpuUnlitRows(float cpuLoad) {
    return static_cast<int>((1.0f - unitValue(cpuLoad)) * 46.0f);
}

} // namespace

bool volumeMeterChanged(MeterReadings meters, const Screen& screen) {
    const MeterLook& shown = screen.meterLook;
    return needlePosition(meters.volumeLevel) != shown.needle ||
           clipFlashRed(meters.clipped) != shown.flashRed;
}

bool cpuMeterChanged(MeterReadings meters, const Screen& screen) {
    return cpuUnlitRows(meters.cpuLoad) != screen.meterLook.cpuUnlitRows;
}

void renderVolumeMeter(const UiState& ui, MeterReadings meters, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::VolumeMeter);
    if (!restoreCachedBackground(canvas)) {
        drawDial(canvas);
        cacheBackground(canvas);
    }
    MeterLook& look = screen.meterLook;
    look.flashRed = clipFlashRed(meters.clipped);
    drawClipFlash(canvas, look.flashRed);
    look.needle = needlePosition(meters.volumeLevel);
    drawNeedle(canvas, look.needle);
    fillBrushedMetal(canvas, screen.metalNoise, 54, 4, 66, 79, 1.0f);
    drawFrame(canvas, ui.backgroundColour, 0, 0, 70, 83, 4, false);
}

void renderCpuMeter(const UiState& ui, MeterReadings meters, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::CpuMeter);
    const int unlit = cpuUnlitRows(meters.cpuLoad);
    screen.meterLook.cpuUnlitRows = unlit;
    const int firstLit = 15 + unlit + 1;
    clearCanvas(canvas);
    for (int row = 15; row <= 35; ++row)
        for (int col = 2; col <= 24; ++col)
            setChannel(canvas, row, col, kRed, row >= firstLit ? 220.0f : 60.0f);
    for (int row = 26; row <= 61; ++row)
        for (int col = 2; col <= 24; ++col)
            setChannel(canvas, row, col, kGreen, row >= firstLit ? 220.0f : 60.0f);
    for (int row = 15; row <= 60; row += 5) grey(canvas, row, 2, row, 24, 120);
    drawCaption(canvas, screen.glyphs.text, 3, 6, "CPU");
    drawFrame(canvas, ui.backgroundColour, 0, 0, 13, 27, 2, false);
    drawFrame(canvas, ui.backgroundColour, 13, 0, 63, 27, 2, false);
}

void renderMainVolume(const Song& song, const UiState& ui, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::MainVolumeControl);
    const float left = unitValue(song.MainVolume[0]);
    const float right = unitValue(song.MainVolume[1]);
    fillBrushedMetal(canvas, screen.metalNoise, 0, 0, canvas.height, canvas.width, 1.0f);
    drawFader(canvas, 12, 8, 119, 33, left, 6, 250.0f * left, 0, 0, true);
    drawFader(canvas, 12, 49, 119, 75, right, 6, 250.0f * right, 0, 0, true);
    drawFrame(canvas, ui.backgroundColour, 0, 0, 131, 41, 4, false);
    drawFrame(canvas, ui.backgroundColour, 0, 41, 131, 83, 4, false);
}

void renderInstrumentButtons(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::InstrumentButton);
    const int current = shownInstrument(instrument);
    clearCanvas(canvas);
    for (int i = 0; i < kInstrumentCount; ++i) {
        const int x0 = kInstrumentButtonWidth * i;
        drawFrame(canvas, ui.backgroundColour, 0, x0, kButtonRowHeight, x0 + kInstrumentButtonWidth,
                  2, i == current);
        const Colour c = scaled(instrumentColour(song, i), i == current ? 1.0f : 0.9f);
        fillRect(canvas, 2, x0 + 2, 20, x0 + 48, c.red, c.green, c.blue);
    }
}

namespace {

// The mute lamp: red while the instrument is silent or about to be, else a green glow.
void drawMuteLamp(PanelCanvas& canvas, const float backgroundColour[3], int x0, bool silent) {
    if (silent) {
        drawFrame(canvas, backgroundColour, 2, x0 + 2, 23, x0 + 25, 2, false);
        fillRect(canvas, 4, x0 + 4, 20, x0 + 22, 90, 0, 0);
        return;
    }
    for (int row = 4; row <= 19; ++row) {
        for (int col = x0 + 4; col <= x0 + 21; ++col) {
            const float d = std::fmin(
                1.0f, std::hypot(static_cast<float>(col - x0 - 12), static_cast<float>(row - 12)) /
                          15.0f);
            setPixel(canvas, row, col, 0, (0.5f * std::cos(1.4f * d) + 0.5f) * 180.0f, 0);
        }
    }
    drawFrame(canvas, backgroundColour, 2, x0 + 2, 23, x0 + 25, 2, true);
}

} // namespace

void renderInstrumentControl(const Song& song, const UiState& ui,
                             const TransportReadings& transport, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::InstrumentControl);
    const float* bg = ui.backgroundColour;
    for (int i = 0; i < kInstrumentCount; ++i) {
        const int x0 = kInstrumentButtonWidth * i;
        fillBrushedMetal(canvas, screen.metalNoise, 0, x0, 69, x0 + kInstrumentButtonWidth, 1.0f);
        drawFrame(canvas, bg, 0, x0, 69, x0 + kInstrumentButtonWidth, 2, false);
        const Colour half = scaled(instrumentColour(song, i), 0.5f);
        const float octave = unitValue(static_cast<float>(clampInt(song.Oct[i], 0, 3)) / 3.0f);
        drawFader(canvas, 23, x0 + 2, 67, x0 + 25, octave, 2, half.red, half.green, half.blue,
                  false);
        const float volume = unitValue(song.Volume[i]);
        drawFader(canvas, 2, x0 + 25, 67, x0 + 48, volume, 4, 250.0f * volume, 0, 0, false);
        drawLine(canvas, x0 + 25.0f, 2, x0 + 25.0f, 67, 100, 100, 100);
        drawMuteLamp(canvas, bg, x0, (song.Mute[i] != 0) != transport.muteTogglePending[i]);
    }
}

void renderHelpLine(const UiState& ui, Screen& screen, const char* text) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::helpLine);
    clearCanvas(canvas);
    drawText(canvas, screen.glyphs.text, 5, 8, 0, true, 0.7f, 0.7f, 0, text);
    drawFrame(canvas, ui.backgroundColour, 0, 0, 17, 485, 2, false);
}
