// The note pad under the mouse: drawing, sliding, redrawing, splitting and erasing notes.
#include <gtest/gtest.h>

#include "app/mouse_note_pad.h"
#include "mouse_test_app.h"

namespace {

// Panel pixel in the middle of the cell of a column (step within the view) and note row.
int cellX(int column) {
    return 4 + 25 * column + 12;
}
int cellY(int noteRow) {
    return 4 + 8 * (23 - noteRow) + 4;
}

struct MouseNotePadTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    NoteGrid& grid() { return app->song.noteGrid[0]; }

    // Press, move through the given columns and rows, release.
    void drawNote(std::initializer_list<std::pair<int, int>> cells) {
        auto it = cells.begin();
        ASSERT_TRUE(pressNotePad(*app, cellX(it->first), cellY(it->second)));
        for (++it; it != cells.end(); ++it) dragNotePad(*app, cellX(it->first), cellY(it->second));
        ASSERT_TRUE(finishNoteDrawing(*app));
    }
    void expectCell(int step, int row, int position, int next, int length) {
        SCOPED_TRACE(::testing::Message() << "step " << step << " row " << row);
        EXPECT_EQ(grid().notePosition[step][row], position);
        if (position == 0) return;
        EXPECT_EQ(grid().nextRow[step][row], next);
        EXPECT_EQ(grid().noteLength[step][row], length);
    }
};

TEST_F(MouseNotePadTest, NoteFromStep3To7HasLength5EvenAfterDraggingBack) {
    app->drag.viewOffset[0] = 32; // bank 2 in view
    ASSERT_TRUE(pressNotePad(*app, cellX(3), cellY(10)));
    EXPECT_TRUE(dragNotePad(*app, cellX(7), cellY(10)));
    EXPECT_FALSE(dragNotePad(*app, cellX(7), cellY(10))) << "no entry changed";
    dragNotePad(*app, cellX(5), cellY(10));
    ASSERT_TRUE(finishNoteDrawing(*app));
    for (int k = 0; k < 5; ++k) expectCell(32 + 3 + k, 10, k + 1, k < 4 ? 10 : -1, 5);
    expectCell(32 + 8, 10, 0, 0, 0);
    expectCell(32 + 2, 10, 0, 0, 0);
    EXPECT_FALSE(noteBeingDrawn(app->drag));
}

TEST_F(MouseNotePadTest, SlidesFollowTheRowsUnlessSlidingIsOff) {
    drawNote({{0, 5}, {1, 7}, {2, 9}});
    expectCell(0, 5, 1, 7, 3);
    expectCell(1, 7, 2, 9, 3);
    expectCell(2, 9, 3, -1, 3);

    app->ui.slidingAllowed = 0;
    drawNote({{4, 5}, {5, 7}, {6, 9}});
    expectCell(4, 5, 1, 5, 3);
    expectCell(5, 5, 2, 5, 3);
    expectCell(6, 5, 3, -1, 3);
    expectCell(5, 7, 0, 0, 0);
}

TEST_F(MouseNotePadTest, MovesOutsideTheNoteRangeAreIgnored) {
    ASSERT_TRUE(pressNotePad(*app, cellX(4), cellY(3)));
    EXPECT_FALSE(dragNotePad(*app, cellX(2), cellY(3))) << "before the first step";
    app->drag.viewOffset[0] = 16; // the next bank: 16 steps after the first one
    EXPECT_FALSE(dragNotePad(*app, cellX(4), cellY(3)));
    EXPECT_TRUE(dragNotePad(*app, cellX(3), cellY(3))); // 15 steps after: the longest note
    ASSERT_TRUE(finishNoteDrawing(*app));
    expectCell(4, 3, 1, 3, 16);
    expectCell(19, 3, 16, -1, 16);
}

TEST_F(MouseNotePadTest, HitTestTruncatesTowardZeroOnceDrawingHasStarted) {
    EXPECT_FALSE(pressNotePad(*app, 2, cellY(0))) << "left of the grid";
    EXPECT_FALSE(pressNotePad(*app, cellX(0), 2)) << "above the grid";
    EXPECT_FALSE(pressNotePad(*app, 4 + 25 * 16, cellY(0)));
    EXPECT_FALSE(pressNotePad(*app, cellX(0), 4 + 8 * 24));
    ASSERT_TRUE(pressNotePad(*app, cellX(0), cellY(0)));
    // While drawing, the strip above the grid counts as the top row (note row 23).
    EXPECT_TRUE(dragNotePad(*app, cellX(1), 2));
    ASSERT_TRUE(finishNoteDrawing(*app));
    expectCell(0, 0, 1, 23, 2);
    expectCell(1, 23, 2, -1, 2);
}

TEST_F(MouseNotePadTest, DrawingThroughAnOldNoteSplitsItAndLeavesOtherRows) {
    drawNote({{0, 12}, {9, 12}});
    drawNote({{2, 4}, {6, 4}}); // another row at the same steps
    // A press on the old note would pick it up: the new note starts beside it and slides in.
    drawNote({{3, 13}, {4, 12}, {5, 12}});
    for (int k = 0; k < 4; ++k) expectCell(k, 12, k + 1, k < 3 ? 12 : -1, 4);
    expectCell(3, 13, 1, 12, 3);
    expectCell(4, 12, 2, 12, 3);
    expectCell(5, 12, 3, -1, 3);
    for (int k = 0; k < 4; ++k) expectCell(6 + k, 12, k + 1, k < 3 ? 12 : -1, 4);
    for (int k = 0; k < 5; ++k) expectCell(2 + k, 4, k + 1, k < 4 ? 4 : -1, 5);
}

TEST_F(MouseNotePadTest, DrawingOverTheStartOfANoteKeepsItsTail) {
    drawNote({{4, 8}, {7, 8}});
    drawNote({{2, 8}, {4, 8}});
    for (int k = 0; k < 3; ++k) expectCell(2 + k, 8, k + 1, k < 2 ? 8 : -1, 3);
    expectCell(5, 8, 1, 8, 3);
    expectCell(7, 8, 3, -1, 3);
}

TEST_F(MouseNotePadTest, PressingANotePicksItUpWholeForRedrawing) {
    drawNote({{2, 6}, {3, 8}, {4, 8}});
    ASSERT_TRUE(pressNotePad(*app, cellX(3), cellY(8))); // its middle
    expectCell(2, 6, 0, 0, 0);
    expectCell(3, 8, 0, 0, 0);
    EXPECT_EQ(app->drag.noteDrawList[0].step, 2);
    EXPECT_EQ(app->drag.noteDrawList[0].row, 6);
    EXPECT_EQ(app->drag.noteDrawList[2].step, 4);
    EXPECT_EQ(app->drag.noteDrawList[3].step, -1);
    EXPECT_TRUE(dragNotePad(*app, cellX(6), cellY(8))); // extended by two steps
    ASSERT_TRUE(finishNoteDrawing(*app));
    expectCell(2, 6, 1, 8, 5);
    expectCell(6, 8, 5, -1, 5);
}

TEST_F(MouseNotePadTest, RightPressErasesTheWholeNote) {
    drawNote({{1, 3}, {2, 4}, {3, 5}});
    drawNote({{2, 3}, {3, 3}});
    EXPECT_FALSE(erasePressNotePad(*app, cellX(5), cellY(3))) << "an empty cell erases nothing";
    EXPECT_TRUE(erasePressNotePad(*app, cellX(2), cellY(4)));
    expectCell(1, 3, 0, 0, 0);
    expectCell(2, 4, 0, 0, 0);
    expectCell(3, 5, 0, 0, 0);
    EXPECT_EQ(grid().nextRow[1][3], -1);
    expectCell(2, 3, 1, 3, 2);
}

TEST_F(MouseNotePadTest, DamagedNotesAreWalkedSafely) {
    // A chain whose links leave the grid's rows, and one longer than a bank.
    grid().notePosition[0][0] = 1;
    grid().nextRow[0][0] = 99;
    grid().noteLength[0][0] = 7;
    EXPECT_TRUE(erasePressNotePad(*app, cellX(0), cellY(0)));
    expectCell(0, 0, 0, 0, 0);

    for (int step = 0; step < 20; ++step) {
        grid().notePosition[step][1] = step + 1;
        grid().nextRow[step][1] = step < 19 ? 1 : -1;
        grid().noteLength[step][1] = 20;
    }
    NoteDrawCell cells[kGridSteps];
    int hit = 0;
    EXPECT_EQ(collectNoteCells(grid(), 5, 1, cells, hit), 20);
    EXPECT_EQ(hit, 5);
    EXPECT_FALSE(pressNotePad(*app, cellX(5), cellY(1))) << "too long for the pad: left alone";
    expectCell(5, 1, 6, 1, 20);

    // A position that claims earlier cells which are not there.
    grid().notePosition[30][2] = 4;
    grid().nextRow[30][2] = -1;
    EXPECT_EQ(collectNoteCells(grid(), 30, 2, cells, hit), 1);
    EXPECT_EQ(hit, 0);
}

} // namespace
