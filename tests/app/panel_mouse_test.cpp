// The panel mouse table: one entry per panel, and every press acting only inside its panel.
#include <gtest/gtest.h>

#include "app/panel_mouse.h"

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

} // namespace
