// The Sound Device dialog: a modal window with the device list, the buffer sizes and OK and
// Cancel, run by FLTK's own loop (the pump timer keeps the sound fed meanwhile).
#include "platform/fltk_sound_device_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>

#include <string>

#include "platform/fltk_dialog_buttons.h"

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 300;
constexpr int kBufferListHeight = 84; // the four sizes without a scroll bar

class SoundDeviceDialog {
  public:
    SoundDeviceDialog(const std::vector<std::string>& reported, const SoundOutput& current);
    SoundDeviceDialog(const SoundDeviceDialog&) = delete;
    SoundDeviceDialog& operator=(const SoundDeviceDialog&) = delete;

    std::optional<SoundOutput> run();

  private:
    static void onAccept(Fl_Widget*, void* self) {
        static_cast<SoundDeviceDialog*>(self)->accept();
    }
    static void onCancel(Fl_Widget*, void* self) {
        static_cast<SoundDeviceDialog*>(self)->window_.hide();
    }
    void accept();

    const std::vector<std::string>& reported_;
    std::optional<SoundOutput> result_;
    Fl_Double_Window window_;
    Fl_Hold_Browser* devices_;
    Fl_Hold_Browser* buffers_;
};

SoundDeviceDialog::SoundDeviceDialog(const std::vector<std::string>& reported,
                                     const SoundOutput& current)
    : reported_(reported), window_(kWidth, kHeight, "Sound Device") {
    const int buffersTop = kHeight - 50 - kBufferListHeight;
    devices_ = new Fl_Hold_Browser(10, 30, kWidth - 20, buffersTop - 60, "Output device:");
    devices_->align(FL_ALIGN_TOP_LEFT);
    devices_->format_char(0); // names are shown as they are, '@' included
    for (const std::string& name : soundDeviceList(reported)) devices_->add(name.c_str());
    devices_->value(soundDeviceIndex(current, reported) + 1); // FLTK counts lines from 1
    buffers_ = new Fl_Hold_Browser(10, buffersTop, kWidth - 20, kBufferListHeight, "Buffer size:");
    buffers_->align(FL_ALIGN_TOP_LEFT);
    for (int frames : kBufferFrameChoices)
        buffers_->add((std::to_string(frames) + " frames").c_str());
    buffers_->value(bufferFramesIndex(current.bufferFrames) + 1);
    finishDialog(window_, "OK", onAccept, onCancel, this);
}

void SoundDeviceDialog::accept() {
    result_ = SoundOutput{soundDeviceAt(devices_->value() - 1, reported_),
                          bufferFramesAt(buffers_->value() - 1)};
    window_.hide();
}

std::optional<SoundOutput> SoundDeviceDialog::run() {
    window_.show();
    devices_->take_focus();
    while (window_.shown()) Fl::wait();
    return result_;
}

} // namespace

std::optional<SoundOutput> askSoundOutput(const std::vector<std::string>& reported,
                                          const SoundOutput& current) {
    SoundDeviceDialog dialog(reported, current);
    return dialog.run();
}
