// Average and Step of the envelope curve in view.
#include <gtest/gtest.h>

#include "tests/tools/tool_test_app.h"
#include "tools/current_selection.h"
#include "tools/envelope_edits.h"

namespace {

TEST(EnvelopeEdits, AverageSpreadsAnImpulseAndKeepsPointsZeroAndGuard) {
    auto app = newSongApp();
    app->ui.currentInstrument = 3;
    app->song.EnvIdx[3] = 5;
    app->ui.envelopeCurve = kCurveCutoff;
    float* curve = app->song.Cutoff[5];
    for (int p = 0; p < kEnvelopePoints; ++p) curve[p] = 0.0f;
    curve[0] = 1.0f;
    curve[299] = 1.0f;
    curve[300] = 0.7f;
    averageEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                    app->ui.envelopeCurve, 2);
    EXPECT_EQ(curve[0], 1.0f);
    EXPECT_FLOAT_EQ(curve[1], 0.4f);
    EXPECT_FLOAT_EQ(curve[2], 0.2f);
    EXPECT_EQ(curve[3], 0.0f);
    // The end repeats point 299; point 300 is neither read nor written.
    EXPECT_FLOAT_EQ(curve[299], 0.6f);
    EXPECT_FLOAT_EQ(curve[298], 0.4f);
    EXPECT_FLOAT_EQ(curve[297], 0.2f);
    EXPECT_EQ(curve[300], 0.7f);
    // Other curves of the bank are untouched.
    EXPECT_EQ(app->song.Envelope[5][1], 1.0f - 0.0033333334f);
}

TEST(EnvelopeEdits, StepMovesHalfwayToTheNearestSixteenth) {
    auto app = newSongApp();
    app->ui.envelopeCurve = kCurveRatio;
    float* curve = app->song.Ratio[0];
    curve[0] = 0.53f;
    curve[1] = 0.53f;
    curve[2] = 8.5f / 16; // exactly between two sixteenths: moves down
    curve[3] = 0.55f;     // d = 0.8: moves up
    curve[4] = 0.25f;     // on a sixteenth: stays
    curve[300] = 0.53f;
    stepEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                 app->ui.envelopeCurve);
    EXPECT_EQ(curve[0], 0.53f);
    EXPECT_NEAR(curve[1], 0.515f, 1e-6f);
    EXPECT_FLOAT_EQ(curve[2], 8.25f / 16);
    EXPECT_NEAR(curve[3], (8.8f + 0.1f) / 16, 1e-6f);
    EXPECT_EQ(curve[4], 0.25f);
    EXPECT_EQ(curve[300], 0.53f);
    for (int n = 0; n < 40; ++n)
        stepEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                     app->ui.envelopeCurve);
    EXPECT_NEAR(curve[1], 0.5f, 1e-6f);
    EXPECT_NEAR(curve[3], 0.5625f, 1e-6f);
}

TEST(EnvelopeEdits, BankOrCurveOutOfRangeChangesNothing) {
    auto app = newSongApp();
    app->song.EnvIdx[0] = 8;
    averageEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                    app->ui.envelopeCurve, 2);
    stepEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                 app->ui.envelopeCurve);
    app->song.EnvIdx[0] = 0;
    app->ui.envelopeCurve = 4;
    stepEnvelope(app->song, envelopeBankOf(app->song, app->ui.currentInstrument),
                 app->ui.envelopeCurve);
    auto fresh = newSongApp();
    for (int bank = 0; bank < kEnvelopeBankCount; ++bank)
        for (int p = 0; p < kEnvelopePoints; ++p) {
            ASSERT_EQ(app->song.Envelope[bank][p], fresh->song.Envelope[bank][p]);
            ASSERT_EQ(app->song.Ratio[bank][p], fresh->song.Ratio[bank][p]);
        }
}

} // namespace
