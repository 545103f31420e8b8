// The panel mouse table: one entry per panel, and every press acting only inside its panel.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "app/panel_mouse.h"
#include "app/script_session.h"
#include "app/startup.h"
#include "files/song_writer.h"

namespace {

TEST(PanelMouseTable, EveryPanelHasOneEntryWhoseDragCanBeHeldAndEnded) {
    int deselecting = 0;
    for (int id = 0; id < kPanelCount; ++id) {
        int entries = 0;
        for (const PanelMouse& panel : kPanelMouse) {
            if (static_cast<int>(panel.id) != id) continue;
            ++entries;
            // The move and release loops ask `dragging` before calling drag or release.
            EXPECT_EQ(panel.drag != nullptr, panel.dragging != nullptr) << id;
            EXPECT_TRUE(!panel.release || panel.dragging) << id;
            EXPECT_TRUE(!panel.redrawWhenIdle || panel.release) << id;
            deselecting += panel.deselectBpmDigitsFirst ? 1 : 0;
        }
        EXPECT_EQ(entries, 1) << "panel " << id;
    }
    EXPECT_EQ(deselecting, 1);
}

std::string songText(const Song& song) {
    std::string text;
    appendSongText(song, text);
    return text;
}

// The table's order decides only when each press redraws and pumps, not what it edits, as long
// as a press one pixel outside a panel leaves the song and the drags alone.
TEST(PanelMouseTable, PressesOneStepOutsideAPanelChangeNothing) {
    VirtualSoundDevice device;
    auto app = std::make_unique<AppState>();
    initAppState(*app, device);
    std::ostringstream protocol;
    ScriptSession session{*app, device, protocol};
    ASSERT_TRUE(startScriptSession(session));
    for (const PanelMouse& panel : kPanelMouse) {
        const PanelRect& rect = panelRect(session.screen.layout, panel.id);
        const int w = rectWidth(rect);
        const int h = rectHeight(rect);
        const PanelPoint outside[] = {{-1, h / 2}, {w, h / 2}, {w / 2, -1}, {w / 2, h}};
        for (const PanelPoint p : outside) {
            const std::string before = songText(app->song);
            if (panel.press) panel.press(*app, session.screen, session.platform, p);
            if (panel.rightPress) panel.rightPress(*app, session.screen, p);
            const std::string where = "panel " + std::to_string(static_cast<int>(panel.id)) +
                                      " at " + std::to_string(p.x) + "," + std::to_string(p.y);
            for (const PanelMouse& other : kPanelMouse)
                EXPECT_TRUE(!other.dragging || !other.dragging(app->drag)) << where;
            EXPECT_TRUE(songText(app->song) == before) << where;
            resetDragFields(app->drag);
        }
    }
    endScriptSession(session);
}

} // namespace
