// Whole-panel golden images of the wave and envelope panels, to catch unintended changes of the
// drawing. Set HUMBROOK_UPDATE_GOLDEN=1 to rewrite the images after an intended change (and look
// at them before committing).
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "model/random.h"
#include "screen_test_support.h"
#include "ui/panel_renderers.h"

namespace {

const std::filesystem::path kGoldenDir = std::filesystem::path(__FILE__).parent_path() / "golden";

std::vector<uint8_t> canvasRgb(const PanelCanvas& canvas) {
    std::vector<uint8_t> rgb;
    for (int row = 0; row < canvas.height; ++row)
        for (int col = 0; col < canvas.width; ++col)
            for (int channel : {kRed, kGreen, kBlue})
                rgb.push_back(static_cast<uint8_t>(getChannel(canvas, row, col, channel)));
    return rgb;
}

bool readPng(const std::filesystem::path& path, int& width, int& height,
             std::vector<uint8_t>& rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

void writePng(const std::filesystem::path& path, int width, int height,
              const std::vector<uint8_t>& rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr));
}

void expectGolden(const PanelCanvas& canvas, const std::string& name) {
    const std::filesystem::path path = kGoldenDir / (name + ".png");
    const std::vector<uint8_t> actual = canvasRgb(canvas);
    const char* update = std::getenv("HUMBROOK_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        writePng(path, canvas.width, canvas.height, actual);
        return;
    }
    int width = 0;
    int height = 0;
    std::vector<uint8_t> expected;
    ASSERT_TRUE(readPng(path, width, height, expected)) << path;
    ASSERT_EQ(width, canvas.width);
    ASSERT_EQ(height, canvas.height);
    size_t differing = 0;
    for (size_t i = 0; i < actual.size(); ++i) differing += actual[i] != expected[i];
    EXPECT_EQ(differing, 0u) << name << ": channel values differ from " << path;
}

class GoldenPanels : public ::testing::Test {
  protected:
    std::unique_ptr<AppState> app = newScreenTestApp();
    std::unique_ptr<Screen> screen;

    void SetUp() override {
        restartRandom(); // the metal shading draws from the random sequence
        screen = newTestScreen();
    }
};

TEST_F(GoldenPanels, WaveEditorAndButtons) {
    app->song.SoundEffect[0][kKnobHigh].value = 0.7f;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 0);
    expectGolden(panelCanvas(*screen, PanelId::WaveEditor), "wave_editor");
    renderWaveButtons(app->song, app->ui, panelInputs(*app).clock, *screen,
                      app->ui.currentInstrument);
    expectGolden(panelCanvas(*screen, PanelId::WaveButtons), "wave_buttons");
}

TEST_F(GoldenPanels, EnvelopeEditorAndButtons) {
    app->song.EnvelopeParams[2] = {60, 180, 260, 1};
    for (int i = 0; i < kEnvelopePoints; ++i)
        app->song.Ratio[2][i] = 0.3f + 0.4f * (i % 100) / 100.0f;
    renderEnvelopeEditor(app->song, app->ui, *screen, 2, kCurveRatio);
    expectGolden(panelCanvas(*screen, PanelId::EnvelopeEditor), "envelope_editor_ratio");
    app->ui.envelopeCurve = kCurveRatio;
    app->song.EnvIdx[0] = 2;
    renderEnvelopeButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
    expectGolden(panelCanvas(*screen, PanelId::EnvelopeButtons), "envelope_buttons");
}

} // namespace
