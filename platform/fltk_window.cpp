// The main window: menu bar, the client picture, event dispatch with the audio pump, the loop.
#include "platform/fltk_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/autosave.h"
#include "app/edit_session.h"
#include "app/hover_help.h"
#include "app/key_codes.h"
#include "app/key_commands.h"
#include "app/menu_bar.h"
#include "app/menu_commands.h"
#include "app/panel_redraw.h"
#include "app/product_info.h"
#include "app/recording_control.h"
#include "app/recovery.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/unsaved_changes.h"
#include "engine/stream.h"
#include "platform/fltk_edit_menu.h"
#include "platform/fltk_picture.h"
#include "platform/fltk_platform.h"
#include "platform/fltk_recent_menu.h"
#include "platform/fltk_signals.h"
#include "platform/fltk_sound_output.h"
#include "platform/sdl_sound_device.h"
#include "resources/glyph_images.h"
#include "ui/screen.h"
#include "ui/zoom.h"

namespace {

constexpr int kMenuBarHeight = 25;       // at zoom 1; the menu bar and its font scale with the zoom
constexpr double kPumpSeconds = 0.002;   // pump interval while the pump has work
constexpr double kNoTimeLimit = 1e20;    // Fl::wait: until an event or a timer
constexpr int kDisplayBytesPerPixel = 4; // the picture's pixels are blue, green, red, unused
constexpr const char* kNoSoundDeviceText =
    "No sound device could be opened. Humbrook carries on and plays silently.";

class PictureView;

// The objects that live for the whole windowed program.
struct Program {
    Screen screen;
    std::unique_ptr<SoundDevice> device;
    std::unique_ptr<AppState> app;
    MenuState menu;
    EditSession edits; // every key, menu command and mouse gesture is recorded here
    Fl_Window* window = nullptr;
    Fl_Menu_Bar* menuBar = nullptr;
    PictureView* view = nullptr;
    std::unique_ptr<FltkPlatform> platform;
    bool pumpTimerSet = false;             // the pump timer is waiting to run
    Settings settings;                     // as read at start, changed by the menus
    std::string settingsPath;              // empty: nowhere to keep them
    int zoom = 1;                          // 1..4: every picture pixel is zoom x zoom window pixels
    std::vector<std::string> recentInMenu; // the recent songs File > Open Recent lists
    std::unique_ptr<Autosaver> autosaver;  // copies of the modified song, on its own thread
    bool endedBySignal = false;            // a signal ended the program: the autosave stays
    SoundOutput soundOutput;               // the device and buffer size the sound plays through
};

// Writes the settings after a change; a failure is said once on standard error.
void keepSettings(Program& program) {
    static bool failureReported = false;
    if (saveSettings(program.settingsPath, program.settings) || failureReported) return;
    failureReported = true;
    std::cerr << "humbrook: cannot write the settings " << program.settingsPath << "\n";
}

// Hands an input event to the program as one gesture of the edit history; the menu follows.
MenuOutcome deliver(Program& program, const InputEvent& event);

// FLTK's event dispatch hook takes no user data: the one program it serves.
Program* dispatchedProgram = nullptr;

void pump(Program& program) {
    if (!program.app) return;
    pumpAndRedraw(*program.app, program.screen);
    reportRecordingFailures(*program.app, *program.platform);
}

bool pumpDue(const Program& program) {
    return program.app && pumpHasWork(program.app->engine, program.app->stream);
}

// The pump timer feeds the sound every kPumpSeconds while the pump has work, in the main loop
// and in the loops that menus, message boxes and file dialogs run inside a handler alike. With
// nothing due it is not set again, and the program sleeps until the next event. It is set again
// before the pump, which may show a message box and run that box's loop.
void timerPump(void* data) {
    Program& program = *static_cast<Program*>(data);
    program.pumpTimerSet = pumpDue(program);
    if (program.pumpTimerSet) Fl::repeat_timeout(kPumpSeconds, timerPump, data);
    pump(program);
}

constexpr double kAutosaveTickSeconds = 1.0; // how often the autosave looks at the song
constexpr int kMaxWindowsToHide = 64;        // the main window, a menu, a dialog and its boxes

double clockSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// A copy of a modified song when one is due (written on the autosave's own thread), the
// out-of-date autosave removed once the song is saved.
void tickAutosave(Program& program) {
    if (!program.app || !program.autosaver) return;
    AppState& app = *program.app;
    program.autosaver->tick(app.song, app.songPath, songModified(program.edits, app),
                            clockSeconds(), program.settings.autosaveSeconds);
}

// About once a second, and after every menu command (a Save lets go of the autosave at once).
void autosaveTick(void* data) {
    Fl::repeat_timeout(kAutosaveTickSeconds, autosaveTick, data);
    tickAutosave(*static_cast<Program*>(data));
}

// SIGTERM, SIGINT, SIGHUP: the program ends as File > Exit would, without asking; a modified
// song is autosaved first and its autosave kept for the next start. Every window is hidden, so
// that a dialog or question open now returns (cancelled) and the main loop ends.
void endOnSignal(void* data) {
    Program& program = *static_cast<Program*>(data);
    if (program.app && songModified(program.edits, *program.app))
        program.autosaver->writeNow(program.app->song, program.app->songPath);
    program.endedBySignal = true;
    // Bounded, so that a window refusing to hide cannot keep the program from ending.
    for (int i = 0; i < kMaxWindowsToHide && Fl::first_window(); ++i) Fl::first_window()->hide();
}

// After an event: playback may have started, so the timer runs again if the pump has work.
void keepPumping(Program& program) {
    if (program.pumpTimerSet || !pumpDue(program)) return;
    program.pumpTimerSet = true;
    Fl::add_timeout(kPumpSeconds, timerPump, &program);
}

// The client area: shows the window picture and takes the mouse.
class PictureView : public Fl_Widget {
  public:
    PictureView(Program& program, int x, int y)
        : Fl_Widget(x, y, kClientWidth, kClientHeight), program_(program) {}

    // Only the rectangles handed to FLTK as damage are converted and sent; an expose or a full
    // redraw sends everything inside the clip region.
    void draw() override {
        if (damage() == FL_DAMAGE_USER1 && !damaged_.overflowed) {
            for (int i = 0; i < damaged_.count; ++i) drawArea(damaged_.rects[i]);
        } else {
            drawArea({0, 0, kClientWidth, kClientHeight});
        }
        damaged_ = ChangeList{};
    }

    int handle(int event) override {
        if (!program_.app) return Fl_Widget::handle(event);
        // Handlers see the picture pixel under the pointer, whatever the zoom.
        const PicturePoint point =
            pictureFromWindow(Fl::event_x() - x(), Fl::event_y() - y(), program_.zoom);
        const int px = point.x;
        const int py = point.y;
        switch (event) {
        case FL_ENTER:
            return 1;
        case FL_PUSH:
            if (Fl::event_button() == FL_LEFT_MOUSE)
                deliver(program_, {InputKind::LeftDown, px, py});
            else if (Fl::event_button() == FL_RIGHT_MOUSE)
                deliver(program_, {InputKind::RightDown, px, py});
            return 1;
        case FL_MOVE:
        case FL_DRAG:
            deliver(program_, {InputKind::Move, px, py});
            return 1;
        case FL_RELEASE:
            if (Fl::event_button() == FL_LEFT_MOUSE) deliver(program_, {InputKind::LeftUp, px, py});
            return 1;
        default:
            return Fl_Widget::handle(event);
        }
    }

    // A rectangle of the picture changed. The window shows the changes at most once a frame:
    // the pump redraws the marker and meters far more often than anyone can see.
    static void pictureChanged(void* context, PanelRect area) {
        auto* view = static_cast<PictureView*>(context);
        view->pending_.add(area);
        if (view->frameScheduled_) return;
        view->frameScheduled_ = true;
        Fl::add_timeout(kFrameSeconds, showChanges, view);
    }

  private:
    static constexpr double kFrameSeconds = 0.01;

    // Draws the part of a picture area that lies in the clip region, zoomed: each pixel once
    // converted, repeated in its row and the row repeated.
    void drawArea(const PanelRect& area) {
        const int zoom = program_.zoom;
        const PanelRect shown = zoomedRect(area, zoom);
        int left = x() + shown.left, top = y() + shown.top;
        int width = rectWidth(shown), height = rectHeight(shown);
        if (!clipToDrawRegion(left, top, width, height)) return;
        const PanelRect visible = pictureAreaShownIn(
            {left - x(), top - y(), left - x() + width, top - y() + height}, zoom);
        if (rectWidth(visible) <= 0 || rectHeight(visible) <= 0) return;
        const PanelSurface& picture = program_.screen.display.picture;
        scratch_.resize(static_cast<size_t>(rectWidth(visible)) * rectHeight(visible) * zoom *
                        zoom * 3);
        zoomPictureArea(picture, visible, zoom, scratch_.data());
        drawRgbPixels(scratch_.data(), x() + visible.left * zoom, y() + visible.top * zoom,
                      rectWidth(visible) * zoom, rectHeight(visible) * zoom);
    }

    // Changed rectangles without repeats; past its capacity the whole picture counts as changed.
    struct ChangeList {
        static constexpr int kCapacity = 64;
        PanelRect rects[kCapacity];
        int count = 0;
        bool overflowed = false;

        void add(const PanelRect& r) {
            for (int i = 0; i < count; ++i)
                if (rects[i].left == r.left && rects[i].top == r.top && rects[i].right == r.right &&
                    rects[i].bottom == r.bottom)
                    return;
            if (count == kCapacity)
                overflowed = true;
            else
                rects[count++] = r;
        }
    };

    // Hands the pending changes to FLTK as damage; the next flush draws them.
    static void showChanges(void* data) {
        auto* view = static_cast<PictureView*>(data);
        view->frameScheduled_ = false;
        ChangeList& pending = view->pending_;
        if (pending.overflowed) view->damaged_.overflowed = true;
        for (int i = 0; i < pending.count; ++i) {
            const PanelRect& r = pending.rects[i];
            view->damaged_.add(r);
            const int zoom = view->program_.zoom;
            view->damage(FL_DAMAGE_USER1, view->x() + r.left * zoom, view->y() + r.top * zoom,
                         rectWidth(r) * zoom, rectHeight(r) * zoom);
        }
        if (pending.overflowed) view->damage(FL_DAMAGE_USER1);
        pending = ChangeList{};
    }

    Program& program_;
    ChangeList pending_; // changed since the last frame
    ChangeList damaged_; // handed to FLTK, drawn at the next flush
    bool frameScheduled_ = false;
    std::vector<uint8_t> scratch_; // the zoomed red, green, blue pixels of one area
};

// Capital letters and digits by their characters, the command keys by their codes.
int keyCodeFromFltk(int fltkKey) {
    if (fltkKey >= 'a' && fltkKey <= 'z') return fltkKey - 'a' + 'A';
    if (fltkKey >= '0' && fltkKey <= '9') return fltkKey;
    switch (fltkKey) {
    case ' ':
        return kKeySpace;
    case FL_Enter:
    case FL_KP_Enter:
        return kKeyEnter;
    case FL_Left:
        return kKeyLeft;
    case FL_Right:
        return kKeyRight;
    case FL_Up:
        return kKeyUp;
    case FL_Down:
        return kKeyDown;
    case FL_Delete:
        return kKeyDelete;
    default:
        return kKeyNone;
    }
}

// Zoom In is grayed at the largest zoom, Zoom Out and Actual Size at zoom 1.
bool zoomItemGrayed(const Program& program, int id) {
    return (id == kMenuZoomIn && program.zoom >= kHighestZoom) ||
           ((id == kMenuZoomOut || id == kMenuActualSize) && program.zoom <= kLowestZoom);
}

// The keys of the File and View items; the other items have none.
int menuShortcut(int id) {
    switch (id) {
    case kMenuNew:
        return FL_CTRL + 'n';
    case kMenuOpen:
        return FL_CTRL + 'o';
    case kMenuSave:
        return FL_CTRL + 's';
    case kMenuSaveAs:
        return FL_CTRL + FL_SHIFT + 's';
    case kMenuExit:
        return FL_CTRL + 'q';
    case kMenuZoomIn:
        return FL_CTRL + '=';
    case kMenuZoomOut:
        return FL_CTRL + '-';
    case kMenuActualSize:
        return FL_CTRL + '0';
    default:
        return historyItemShortcut(id);
    }
}

// The window, its menu bar and picture at `zoom`; the whole picture is drawn again.
void applyZoom(Program& program, int zoom) {
    program.zoom = clampZoom(zoom);
    const int width = kClientWidth * program.zoom;
    const int barHeight = kMenuBarHeight * program.zoom;
    const int height = barHeight + kClientHeight * program.zoom;
    program.window->size_range(width, height, width, height);
    program.window->size(width, height);
    program.menuBar->resize(0, 0, width, barHeight);
    program.menuBar->textsize(FL_NORMAL_SIZE * program.zoom);
    program.view->resize(0, barHeight, kClientWidth * program.zoom, kClientHeight * program.zoom);
    program.window->redraw();
}

// View > Zoom In, Zoom Out, Actual Size: the new zoom is applied and remembered.
void changeZoom(Program& program, int zoom) {
    zoom = clampZoom(zoom);
    if (zoom == program.zoom) return;
    applyZoom(program, zoom);
    program.settings.zoom = zoom;
    keepSettings(program);
}

// The items that act on the window rather than the song; false for the others.
bool onWindowMenuItem(Program& program, int id) {
    switch (id) {
    case kMenuZoomIn:
        changeZoom(program, program.zoom + 1);
        return true;
    case kMenuZoomOut:
        changeZoom(program, program.zoom - 1);
        return true;
    case kMenuActualSize:
        changeZoom(program, kLowestZoom);
        return true;
    case kMenuSoundDevice:
        if (chooseSoundOutput(*program.device, program.soundOutput)) {
            if (rememberSoundOutput(program.settings, program.soundOutput)) keepSettings(program);
            if (program.device->isSilent()) showWarning(*program.platform, kNoSoundDeviceText);
        }
        return true;
    default:
        return false;
    }
}

// The menu bar shows what MenuState says: grayed Paste items, Options check marks.
void syncMenu(Program& program) {
    const Fl_Menu_Item* items = program.menuBar->menu();
    for (int i = 0; i < program.menuBar->size(); ++i) {
        auto& item = const_cast<Fl_Menu_Item&>(items[i]);
        if (item.label() == nullptr || item.callback() == nullptr) continue;
        const int id = static_cast<int>(reinterpret_cast<fl_intptr_t>(item.user_data()));
        if (menuItemGrayed(program.menu, id) || zoomItemGrayed(program, id))
            item.deactivate();
        else
            item.activate();
        if (item.radio()) {
            if (menuItemChecked(program.menu, id))
                item.set();
            else
                item.clear();
        }
    }
    showHistoryCaptions(*program.menuBar, program.menu);
}

InputTargets targetsOf(Program& program) {
    return {*program.app, program.screen, *program.platform, program.menu, program.edits};
}

MenuOutcome deliver(Program& program, const InputEvent& event) {
    InputTargets targets = targetsOf(program);
    const MenuOutcome outcome = deliverInput(targets, event);
    syncMenu(program);
    return outcome;
}

void buildMenu(Program& program);

// The menu bar is made again when the recent songs changed; not inside the callback of one of
// its own items, whose menu is still being used.
void rebuildMenu(void* data) {
    Program& program = *static_cast<Program*>(data);
    program.menuBar->clear();
    buildMenu(program);
}

void menuCallback(Fl_Widget* widget, void* data) {
    Program& program = *static_cast<Program*>(widget->user_data());
    const int id = static_cast<int>(reinterpret_cast<fl_intptr_t>(data));
    if (onWindowMenuItem(program, id)) {
        syncMenu(program);
        return;
    }
    const MenuOutcome outcome = deliver(program, {InputKind::Menu, id});
    tickAutosave(program);
    if (program.settings.recentSongs != program.recentInMenu)
        Fl::add_timeout(0.0, rebuildMenu, &program);
    if (outcome == MenuOutcome::Exit) program.window->hide();
}

void buildMenu(Program& program) {
    for (const MenuItemSpec& spec : kMenuItems) {
        std::string path = std::string(spec.menu) + "/";
        if (spec.submenu) path += std::string(spec.submenu) + "/";
        std::string caption = spec.caption;
        while (!caption.empty() && caption.back() == '\t') caption.pop_back();
        path += caption;
        int flags = spec.submenu ? FL_MENU_RADIO : 0;
        program.menuBar->add(path.c_str(), menuShortcut(spec.id), menuCallback,
                             reinterpret_cast<void*>(static_cast<fl_intptr_t>(spec.id)), flags);
        if (spec.id == kMenuOpen)
            addOpenRecentMenu(*program.menuBar, program.settings.recentSongs, menuCallback);
    }
    program.recentInMenu = program.settings.recentSongs;
    program.menuBar->user_data(&program);
    syncMenu(program);
}

// "Active" is shown and not minimised: an inactive window still plays, only presents wait.
void followActivation(Program& program, int event, Fl_Window* window) {
    if (!program.app || window != program.window) return;
    int active = program.window->shown() && program.window->visible() ? 1 : 0;
    if (event == FL_HIDE) active = 0;
    if (active == program.screen.windowActive) return;
    program.screen.windowActive = active;
    program.app->drag.mouseButtonDown = 0;
    if (active && program.screen.initialised) {
        presentAllPanels(*program.app, program.screen);
        showHoverHelp(*program.app, program.screen, -1, -1);
    }
}

// Every event starts and ends with one pump, and leaves the pump timer set if there is work.
// Keys pressed in the main window go to the keyboard commands whichever widget has the focus;
// with Alt held, and the menu items' own keys, reach the menu bar instead.
int dispatchEvent(int event, Fl_Window* window) {
    Program& program = *dispatchedProgram;
    pump(program);
    int used = 1;
    if (event == FL_KEYDOWN && program.app && window == program.window && !Fl::modal() &&
        !Fl::grab() && !Fl::event_state(FL_ALT) &&
        program.menuBar->menu()->test_shortcut() == nullptr) {
        const int key = keyCodeFromFltk(Fl::event_key());
        if (const int id = historyKeyItem(); id != 0)
            deliver(program, {InputKind::Menu, id});
        else if (key != kKeyNone && bareKeyCommandRuns(key, Fl::event_state(FL_CTRL) != 0))
            deliver(program, {InputKind::Key, key});
    } else {
        used = Fl::handle_(event, window);
        followActivation(program, event, window);
    }
    pump(program);
    keepPumping(program);
    return used;
}

// The close box and the desktop's close ask about a modified song first, as File > Exit does.
void closeWindow(Fl_Widget* window, void* data) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    Program& program = *static_cast<Program*>(data);
    if (program.app &&
        askToLeaveSong(*program.app, *program.platform,
                       songModified(program.edits, *program.app)) == SongLeaving::Stay)
        return;
    window->hide();
}

// The remembered zoom, else the largest that fits the screen's work area.
int startingZoom(const Settings& settings) {
    if (settings.zoom >= kLowestZoom && settings.zoom <= kHighestZoom) return settings.zoom;
    int x, y, width, height;
    Fl::screen_work_area(x, y, width, height);
    return fittingZoom(width, height, kMenuBarHeight);
}

void createWindow(Program& program) {
    auto* window = new Fl_Window(20, 20, kClientWidth, kMenuBarHeight + kClientHeight);
    window->copy_label(startupWindowTitle().c_str());
    window->xclass("humbrook"); // matches the desktop entry
    window->color(fl_rgb_color(26, 45, 90));
    program.menuBar = new Fl_Menu_Bar(0, 0, kClientWidth, kMenuBarHeight);
    program.menuBar->clear_visible_focus();
    program.view = new PictureView(program, 0, kMenuBarHeight);
    window->end();
    window->resizable(nullptr); // applyZoom places the menu bar and the picture itself
    window->callback(closeWindow, &program);
    static Fl_PNG_Image icon("humbrook_icon.png", humbrook_icon_png,
                             static_cast<int>(humbrook_icon_png_size));
    window->icon(&icon);
    program.window = window;
    program.platform = std::make_unique<FltkPlatform>(*window, program.settings,
                                                      [&program] { keepSettings(program); });
    applyZoom(program, startingZoom(program.settings));
    buildMenu(program);
}

} // namespace

int runWindowedProgram() {
    auto program = std::make_unique<Program>();
    // Without its glyph images the program cannot draw a panel: it says so and fails.
    if (!initScreen(program->screen, kDisplayBytesPerPixel)) {
        std::fputs("humbrook: the built-in glyph images cannot be loaded\n", stderr);
        return 1;
    }
    program->settingsPath = settingsPathFromEnvironment();
    program->settings = loadSettings(program->settingsPath, std::cerr);
    createWindow(*program);
    program->screen.display.pictureChanged = PictureView::pictureChanged;
    program->screen.display.pictureChangedContext = program->view;
    std::string soundMessage;
    program->device =
        openRememberedSoundOutput(program->settings, program->soundOutput, soundMessage);
    program->app = startApp(program->screen, *program->device);
    program->autosaver = std::make_unique<Autosaver>(autosaveRootFromEnvironment());
    watchEndSignals(endOnSignal, program.get());
    startEditSession(program->edits, program->menu, program->app->song, {startupWindowTitle(), ""});

    dispatchedProgram = program.get();
    Fl::event_dispatch(dispatchEvent);
    program->window->show();
    Fl::wait(0); // let the window be mapped before the first present
    finishStartup(*program->app, program->screen);
    keepPumping(*program);
    if (!soundMessage.empty()) showWarning(*program->platform, soundMessage);
    if (program->device->isSilent()) showWarning(*program->platform, kNoSoundDeviceText);
    InputTargets targets = targetsOf(*program);
    offerRecovery(targets, *program->autosaver);
    syncMenu(*program);
    Fl::add_timeout(kAutosaveTickSeconds, autosaveTick, program.get());

    // Events and timers do all the work; with nothing due the loop sleeps.
    while (program->window->shown()) Fl::wait(kNoTimeLimit);

    Fl::remove_timeout(timerPump, program.get());
    Fl::remove_timeout(autosaveTick, program.get());
    // Ended by the user, the song was saved or let go: its autosave is no longer needed.
    if (!program->endedBySignal) program->autosaver->removeAutosave();
    program->autosaver.reset();
    Fl::event_dispatch(nullptr);
    shutdownApp(program->app);
    program->device.reset();
    dispatchedProgram = nullptr;
    return 0;
}
