// The Export Song dialog (format, rate, length, tail, stems) and the progress box with Cancel.
#include "platform/fltk_export_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/song_render.h"
#include "platform/fltk_dialog_buttons.h"

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 250;
constexpr double kProgressSeconds = 0.05; // the bar moves at least 20 times a second

// The formats in the order the dialog lists them, which is AudioFormat's.
constexpr const char* kFormatNames[] = {"WAV 16-bit",  "WAV 24-bit",  "WAV 32-bit float",
                                        "FLAC 16-bit", "FLAC 24-bit", "Ogg Vorbis"};

class ExportDialog {
  public:
    explicit ExportDialog(const ExportChoices& initial);
    ExportDialog(const ExportDialog&) = delete;
    ExportDialog& operator=(const ExportDialog&) = delete;

    std::optional<ExportChoices> run();

  private:
    static void onAccept(Fl_Widget*, void* self) { static_cast<ExportDialog*>(self)->accept(); }
    static void onCancel(Fl_Widget*, void* self) { static_cast<ExportDialog*>(self)->hide(); }
    static void onLength(Fl_Widget*, void* self) { static_cast<ExportDialog*>(self)->lengthSet(); }

    void accept();
    void hide() { window_.hide(); }
    void lengthSet();

    std::optional<ExportChoices> result_;
    Fl_Double_Window window_;
    Fl_Choice* format_;
    Fl_Choice* rate_;
    Fl_Round_Button* once_;
    Fl_Round_Button* counted_;
    Fl_Int_Input* steps_;
    Fl_Check_Button* tail_;
    Fl_Check_Button* stems_;
};

ExportDialog::ExportDialog(const ExportChoices& initial) : window_(kWidth, kHeight, "Export Song") {
    format_ = new Fl_Choice(110, 10, 200, 25, "Format:");
    for (const char* name : kFormatNames) format_->add(name, 0, nullptr, nullptr, 0);
    format_->value(static_cast<int>(initial.format));
    rate_ = new Fl_Choice(110, 45, 120, 25, "Sample rate:");
    rate_->add("22050 Hz", 0, nullptr, nullptr, 0);
    rate_->add("44100 Hz", 0, nullptr, nullptr, 0);
    rate_->value(initial.sampleRate == 44100 ? 1 : 0);
    auto* length = new Fl_Box(10, 80, 95, 25, "Length:");
    length->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
    once_ = new Fl_Round_Button(110, 80, 260, 25, "Once through the play orders");
    counted_ = new Fl_Round_Button(110, 105, 70, 25, "Steps:");
    for (Fl_Round_Button* button : {once_, counted_}) {
        button->type(FL_RADIO_BUTTON);
        button->callback(onLength, this);
    }
    (initial.once ? once_ : counted_)->setonly();
    steps_ = new Fl_Int_Input(185, 105, 90, 25);
    steps_->value(std::to_string(initial.steps).c_str());
    tail_ = new Fl_Check_Button(110, 140, 260, 25, "Let notes and delays ring out");
    tail_->value(initial.tail ? 1 : 0);
    stems_ = new Fl_Check_Button(110, 165, 260, 25, "One file per instrument");
    stems_->value(initial.stems ? 1 : 0);
    finishDialog(window_, "Export...", onAccept, onCancel, this);
    lengthSet();
}

void ExportDialog::lengthSet() {
    if (once_->value())
        steps_->deactivate();
    else
        steps_->activate();
}

// A number of steps must be 1..kMaxExportSteps; otherwise the dialog beeps and stays.
void ExportDialog::accept() {
    ExportChoices choices;
    choices.format = static_cast<AudioFormat>(format_->value());
    choices.sampleRate = rate_->value() == 1 ? 44100 : 22050;
    choices.once = once_->value() != 0;
    const long steps = std::strtol(steps_->value(), nullptr, 10);
    if (!choices.once && (steps < 1 || steps > kMaxExportSteps)) {
        fl_beep(FL_BEEP_ERROR);
        steps_->take_focus();
        return;
    }
    if (steps >= 1 && steps <= kMaxExportSteps) choices.steps = static_cast<int>(steps);
    choices.tail = tail_->value() != 0;
    choices.stems = stems_->value() != 0;
    result_ = choices;
    window_.hide();
}

std::optional<ExportChoices> ExportDialog::run() {
    window_.show();
    while (window_.shown()) Fl::wait();
    return result_;
}

// The progress box: the bar, what it counts and Cancel.
class ProgressBox {
  public:
    explicit ProgressBox(RenderProgress& progress);
    ProgressBox(const ProgressBox&) = delete;
    ProgressBox& operator=(const ProgressBox&) = delete;

    void run();

  private:
    static void onCancel(Fl_Widget*, void* self) { static_cast<ProgressBox*>(self)->cancel(); }

    void cancel();
    void show();

    RenderProgress& progress_;
    Fl_Double_Window window_;
    Fl_Progress* bar_;
    Fl_Button* cancel_;
    std::string text_;
};

ProgressBox::ProgressBox(RenderProgress& progress)
    : progress_(progress), window_(360, 100, "Exporting") {
    bar_ = new Fl_Progress(10, 15, 340, 25);
    bar_->minimum(0.0f);
    bar_->maximum(1.0f);
    bar_->selection_color(fl_rgb_color(70, 110, 190));
    cancel_ = new Fl_Button(250, 60, 100, 28, "Cancel");
    cancel_->callback(onCancel, this);
    window_.end();
    window_.callback(onCancel, this); // the close box and Escape cancel
    window_.set_modal();
}

void ProgressBox::cancel() {
    progress_.cancelRequested = true;
    cancel_->deactivate();
}

// The bar and its label, redrawn only when the step count changed.
void ProgressBox::show() {
    const int most = std::max(progress_.stepsMost.load(), 1);
    const int done = progress_.stepsDone.load();
    const std::string text = "Step " + std::to_string(done) + " of " + std::to_string(most);
    if (text == text_) return;
    text_ = text;
    bar_->value(static_cast<float>(done) / static_cast<float>(most));
    bar_->label(text_.c_str());
}

void ProgressBox::run() {
    window_.show();
    while (!progress_.finished) {
        show();
        Fl::wait(kProgressSeconds);
    }
    window_.hide();
}

} // namespace

std::optional<ExportChoices> runExportDialog(const ExportChoices& initial) {
    static std::optional<ExportChoices> last; // the dialog opens as it was left
    ExportDialog dialog(last.value_or(initial));
    std::optional<ExportChoices> choices = dialog.run();
    if (choices) last = choices;
    return choices;
}

void runRenderProgress(RenderProgress& progress) {
    ProgressBox box(progress);
    box.run();
}
