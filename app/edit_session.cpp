// Gestures: where each starts and ends, its step, undo and redo with their follow-ups, the title.
#include "app/edit_session.h"

#include "app/action_names.h"
#include "app/app_state.h"
#include "app/edit_follow_ups.h"
#include "app/key_codes.h"
#include "app/key_commands.h"
#include "app/menu_bar.h"
#include "app/mouse.h"
#include "app/platform.h"
#include "app/product_info.h"
#include "ui/screen.h"

namespace {

// Hands everything on to the platform, noting the titles the commands set.
class TitleNotingPlatform : public Platform {
  public:
    TitleNotingPlatform(Platform& platform, EditSession& edits)
        : platform_(platform), edits_(edits) {}

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        platform_.showMessage(text, caption, icon);
    }
    void warningBeep() override { platform_.warningBeep(); }
    void setWindowTitle(const std::string& title) override {
        edits_.title = title;
        edits_.shownTitle = title;
        platform_.setWindowTitle(title);
    }
    std::optional<std::string> askOpenPath(const FileDialogRequest& request) override {
        return platform_.askOpenPath(request);
    }
    std::optional<std::string> askSavePath(const FileDialogRequest& request) override {
        return platform_.askSavePath(request);
    }
    std::optional<ExportChoices> askExportChoices(const ExportChoices& initial) override {
        return platform_.askExportChoices(initial);
    }
    bool askYesNo(const std::string& question) override { return platform_.askYesNo(question); }
    void showRenderProgress(RenderProgress& progress) override {
        platform_.showRenderProgress(progress);
    }
    SaveChangesAnswer askSaveChanges(const std::string& question) override {
        return platform_.askSaveChanges(question);
    }
    RecoveryAnswer askRecovery(const std::string& text) override {
        return platform_.askRecovery(text);
    }
    Settings& settings() override { return platform_.settings(); }
    void keepSettings() override { platform_.keepSettings(); }

  private:
    Platform& platform_;
    EditSession& edits_;
};

void beginGesture(InputTargets& t, std::string name) {
    t.edits.history.followPlayback(t.app.playbackMoves);
    t.edits.gestureOpen = true;
    t.edits.gestureName = std::move(name);
    t.edits.typingTempo = false;
}

// Records what the open gesture changed as one step.
void endGesture(InputTargets& t) {
    if (!t.edits.gestureOpen) return;
    t.edits.gestureOpen = false;
    t.edits.typingTempo = false;
    t.edits.history.followPlayback(t.app.playbackMoves);
    t.edits.history.record(t.app.song, t.edits.gestureName, {t.edits.title, t.app.songPath});
}

// Moves and the release belong to the gesture their press started, a right press to a held
// drag, and a digit to the tempo being typed.
bool continuesGesture(const InputTargets& t, const InputEvent& event) {
    if (!t.edits.gestureOpen) return false;
    switch (event.kind) {
    case InputKind::Move:
    case InputKind::LeftUp:
        return true;
    case InputKind::RightDown:
        return t.app.drag.mouseButtonDown != 0;
    case InputKind::Key:
        return t.edits.typingTempo && isDigitKey(event.first) && selectedBpmDigit(t.app) >= 0;
    case InputKind::LeftDown:
    case InputKind::Menu:
        return false;
    }
    return false;
}

std::string actionName(const InputTargets& t, const InputEvent& event) {
    switch (event.kind) {
    case InputKind::Key:
        return keyActionName(event.first, selectedBpmDigit(t.app) >= 0);
    case InputKind::Menu:
        return menuActionName(event.first);
    case InputKind::LeftDown:
    case InputKind::Move:
    case InputKind::LeftUp:
        return mouseActionName(t.screen.layout, event.first, event.second, false);
    case InputKind::RightDown:
        return mouseActionName(t.screen.layout, event.first, event.second, true);
    }
    return {};
}

// Undo or redo: the step written back, its follow-ups, every panel drawn again.
void applyHistoryStep(InputTargets& t, bool undo) {
    EditHistory& history = t.edits.history;
    history.followPlayback(t.app.playbackMoves);
    const EditStep* step = undo ? history.undo(t.app.song) : history.redo(t.app.song);
    if (step == nullptr) return;
    runFollowUps(t.app, followUpsOf(t.app.song, step->change));
    t.edits.title = history.label().title;
    t.app.songPath = history.label().path;
    redrawEverything(t.app, t.screen);
}

MenuOutcome handle(InputTargets& t, Platform& platform, const InputEvent& event) {
    AppState& app = t.app;
    Screen& screen = t.screen;
    switch (event.kind) {
    case InputKind::Key:
        onKeyDown(app, screen, platform, event.first);
        break;
    case InputKind::Menu:
        if (event.first == kMenuUndo || event.first == kMenuRedo) {
            applyHistoryStep(t, event.first == kMenuUndo);
            break;
        }
        return onMenuCommand(app, screen, platform, t.menu, event.first,
                             t.edits.history.modified());
    case InputKind::LeftDown:
        onLeftButtonDown(app, screen, platform, event.first, event.second);
        break;
    case InputKind::Move:
        onMouseMove(app, screen, event.first, event.second);
        break;
    case InputKind::LeftUp:
        onLeftButtonUp(app, screen);
        break;
    case InputKind::RightDown:
        onRightButtonDown(app, screen, event.first, event.second);
        break;
    }
    return MenuOutcome::Continue;
}

// After the handler: a press holds its gesture open until the release, typed tempo digits
// until the next other event, a hover move changes nothing; the rest ends here.
void afterHandler(InputTargets& t, const InputEvent& event, const std::string& dragName) {
    const bool buttonHeld = t.app.drag.mouseButtonDown != 0;
    if (event.kind == InputKind::Key && isDigitKey(event.first) && selectedBpmDigit(t.app) >= 0) {
        t.edits.typingTempo = true;
        return;
    }
    const bool pointerEvent = event.kind == InputKind::LeftDown || event.kind == InputKind::Move ||
                              event.kind == InputKind::RightDown;
    if (pointerEvent && buttonHeld) return;
    if (event.kind == InputKind::Move) return;
    endGesture(t);
    // A key or command given during a drag: the rest of the drag is a step of its own.
    if (buttonHeld) beginGesture(t, dragName);
}

void showTitle(EditSession& edits, Platform& platform) {
    const std::string title = markedWindowTitle(edits.title, edits.history.modified());
    if (title == edits.shownTitle) return;
    edits.shownTitle = title;
    platform.setWindowTitle(title);
}

void showHistory(InputTargets& t) {
    t.menu.undoAction = t.edits.history.undoName();
    t.menu.redoAction = t.edits.history.redoName();
    showTitle(t.edits, t.platform);
}

} // namespace

void startEditSession(EditSession& edits, MenuState& menu, const Song& song,
                      const SongLabel& label) {
    edits.history.restart(song, label);
    edits.title = label.title;
    edits.shownTitle = label.title;
    edits.gestureOpen = false;
    edits.typingTempo = false;
    menu.undoAction.clear();
    menu.redoAction.clear();
}

MenuOutcome deliverInput(InputTargets& t, const InputEvent& event) {
    TitleNotingPlatform platform(t.platform, t.edits);
    // The drag a key or command interrupts goes on under its own name.
    const std::string dragName = t.edits.gestureName;
    if (!continuesGesture(t, event)) {
        endGesture(t);
        const bool hover = event.kind == InputKind::Move && !t.app.drag.mouseButtonDown;
        if (!hover && event.kind != InputKind::LeftUp) beginGesture(t, actionName(t, event));
    }
    const MenuOutcome outcome = handle(t, platform, event);
    afterHandler(t, event, dragName);
    if (outcome == MenuOutcome::NothingUnsaved) t.edits.history.markSaved();
    showHistory(t);
    return outcome;
}

void markSongSaved(EditSession& edits, Platform& platform) {
    edits.history.markSaved();
    showTitle(edits, platform);
}

bool songModified(EditSession& edits, AppState& app) {
    edits.history.followPlayback(app.playbackMoves);
    return edits.history.modified() ||
           (edits.gestureOpen && edits.history.differsFromView(app.song));
}

void markSongModified(EditSession& edits, Platform& platform) {
    edits.history.markModified();
    showTitle(edits, platform);
}
