// The mouse at zoom 2 and 3: a drag on every panel, given in zoomed window points (not on the
// corners of the zoomed pixels, and out past the window's top left corner), acts exactly as the
// same drag at zoom 1 once the points are mapped back as the window maps them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/script_session.h"
#include "app/startup.h"
#include "ui/zoom.h"

namespace {

struct WindowPoint {
    int x;
    int y;
};

// A started session on its own virtual device, as humbrook-render runs one.
struct Session {
    VirtualSoundDevice device;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
    std::ostringstream protocol;
    std::unique_ptr<ScriptSession> session;

    Session() {
        initAppState(*app, device);
        session = std::make_unique<ScriptSession>(*app, device, protocol);
        started = startScriptSession(*session);
    }
    ~Session() { endScriptSession(*session); }

    void run(const std::string& lines) {
        std::istringstream script(lines);
        std::ostringstream errors;
        ASSERT_EQ(runScript(*session, script, errors), 0) << errors.str();
    }
    bool started = false;
};

std::string pointCommand(const char* name, PicturePoint p) {
    return std::string(name) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

// The drag as the window sends it at `zoom`: each window point mapped to its picture pixel.
std::string dragScript(const std::vector<WindowPoint>& points, int zoom) {
    std::string script = pointCommand("down", pictureFromWindow(points[0].x, points[0].y, zoom));
    for (size_t i = 1; i < points.size(); ++i)
        script += pointCommand("move", pictureFromWindow(points[i].x, points[i].y, zoom));
    const PicturePoint last = pictureFromWindow(points.back().x, points.back().y, zoom);
    return script + pointCommand("up", last);
}

TEST(ZoomDispatch, EveryPanelTakesAZoomedDragAsAtZoomOne) {
    PanelLayout layout;
    layoutPanels(layout);
    for (int zoom : {2, 3})
        for (int id = 0; id < kPanelCount; ++id) {
            const PanelRect& r = layout.rects[id];
            // Picture points: a quarter into the panel, its middle, then up and left out of the
            // window; at zoom N each becomes a window point inside that pixel's square.
            const std::vector<PicturePoint> picture = {
                {r.left + rectWidth(r) / 4, r.top + rectHeight(r) / 4},
                {(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                {r.left + 1, r.top - 3},
                {-2, -5}};
            std::vector<WindowPoint> window, unzoomed;
            for (size_t i = 0; i < picture.size(); ++i) {
                const int offset = static_cast<int>(i) % zoom; // anywhere in the square
                window.push_back({picture[i].x * zoom + offset, picture[i].y * zoom + zoom - 1});
                unzoomed.push_back({picture[i].x, picture[i].y});
            }
            Session atOne, zoomed;
            ASSERT_TRUE(atOne.started && zoomed.started);
            atOne.run(dragScript(unzoomed, 1));
            zoomed.run(dragScript(window, zoom));
            EXPECT_EQ(atOne.session->screen.display.picture.pixels,
                      zoomed.session->screen.display.picture.pixels)
                << "panel " << id << " at zoom " << zoom;
            EXPECT_EQ(atOne.protocol.str(), zoomed.protocol.str());
        }
}

} // namespace
