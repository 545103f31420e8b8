// Screen benchmarks: the full render of start-up and File > Open, and the redraw work one pump
// call does while playing (step strip with the marker, volume and CPU meters).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/panel_redraw.h"
#include "app/startup.h"
#include "ui/screen.h"
#include "ui/zoom.h"

namespace {

struct Fixture {
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
    std::unique_ptr<Screen> screen = std::make_unique<Screen>();

    Fixture() {
        resetSongAndWaveforms(*app);
        initScreen(*screen, 4);
        renderAllPanels(*app, *screen); // backgrounds cached, as after start-up
        screen->windowActive = 1;
        screen->initialised = 1;
    }
};

// Every canvas into every surface: 8 waveforms, 32 envelope bank/curve pairs, 4 instruments of
// five panels and the single panels.
void BM_RenderAllPanels(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        renderAllPanels(*f.app, *f.screen);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderAllPanels)->Unit(benchmark::kMillisecond);

// The changed rectangles of one redraw, as the window collects them.
struct ChangedAreas {
    std::vector<PanelRect> rects;
    static void collect(void* context, PanelRect area) {
        static_cast<ChangedAreas*>(context)->rects.push_back(area);
    }
};

// One pump call's screen work while playing, then each changed rectangle scaled to the window's
// zoom (argument) as the window converts it before handing it to the X server.
void BM_PresentChangedPanelsZoomed(benchmark::State& state) {
    Fixture f;
    ChangedAreas changed;
    f.screen->display.pictureChanged = ChangedAreas::collect;
    f.screen->display.pictureChangedContext = &changed;
    const int zoom = static_cast<int>(state.range(0));
    std::vector<uint8_t> rgb(static_cast<size_t>(kClientWidth) * kClientHeight * 3 * zoom * zoom);
    float position = 0.0f;
    for (auto _ : state) {
        changed.rects.clear();
        PumpRedraws& redraws = f.app->stream.redraws;
        redraws.stepStrip = true;
        redraws.meters = true;
        redraws.markerX = position;
        f.app->stream.volumeLevel = 60.0f;
        f.app->stream.cpuLoad = 0.3f;
        pumpAndRedraw(*f.app, *f.screen);
        for (const PanelRect& area : changed.rects)
            zoomPictureArea(f.screen->display.picture, area, zoom, rgb.data());
        position = position >= 1.0f ? 0.0f : position + 0.01f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentChangedPanelsZoomed)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// The whole picture scaled, as after an expose or a zoom change.
void BM_ZoomWholePicture(benchmark::State& state) {
    Fixture f;
    const int zoom = static_cast<int>(state.range(0));
    std::vector<uint8_t> rgb(static_cast<size_t>(kClientWidth) * kClientHeight * 3 * zoom * zoom);
    for (auto _ : state) {
        zoomPictureArea(f.screen->display.picture, {0, 0, kClientWidth, kClientHeight}, zoom,
                        rgb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ZoomWholePicture)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// One pump call's screen work while playing: the pump asks for the step strip with the marker
// and for both meters; the audio part itself is idle here (no stream).
void BM_PumpRedrawsWhilePlaying(benchmark::State& state) {
    Fixture f;
    float position = 0.0f;
    for (auto _ : state) {
        PumpRedraws& redraws = f.app->stream.redraws;
        redraws.stepStrip = true;
        redraws.meters = true;
        redraws.markerX = position;
        f.app->stream.volumeLevel = 60.0f;
        f.app->stream.cpuLoad = 0.3f;
        pumpAndRedraw(*f.app, *f.screen);
        position = position >= 1.0f ? 0.0f : position + 0.01f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PumpRedrawsWhilePlaying)->Unit(benchmark::kMicrosecond);

} // namespace
