// The accept and Cancel buttons of the program's dialogs.
#include "platform/fltk_dialog_buttons.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

void finishDialog(Fl_Window& window, const char* acceptLabel, Fl_Callback* onAccept,
                  Fl_Callback* onCancel, void* data) {
    auto* accept = new Fl_Return_Button(window.w() - 220, window.h() - 40, 100, 28, acceptLabel);
    accept->callback(onAccept, data);
    auto* cancel = new Fl_Button(window.w() - 110, window.h() - 40, 100, 28, "Cancel");
    cancel->callback(onCancel, data);
    window.end();
    window.callback(onCancel, data);
    window.set_modal();
}
