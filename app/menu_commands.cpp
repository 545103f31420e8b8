// Menu commands and their redraws.
#include "app/menu_commands.h"

#include "app/app_state.h"
#include "app/help_boxes.h"
#include "app/hover_help.h"
#include "app/menu_bar.h"
#include "app/panel_redraw.h"
#include "app/platform.h"
#include "app/playback.h"
#include "app/product_info.h"
#include "app/song_commands.h"
#include "app/song_export.h"
#include "app/startup.h"
#include "app/unsaved_changes.h"
#include "app/wave_commands.h"
#include "tools/clipboard_edits.h"
#include "tools/current_selection.h"
#include "ui/panel_renderers.h"

namespace {

// First step of the current instrument's note bank in view, -1 for a bad current instrument.
int viewedBankStart(const AppState& app) {
    const int instrument = app.ui.currentInstrument;
    return validInstrument(instrument) ? app.drag.viewOffset[instrument] : -1;
}

// File > New: the start-up title, a fresh AppState with every default, all panels again. The
// Options check marks go back to the values the fresh AppState has.
void newSong(AppState& app, Screen& screen, Platform& platform, MenuState& menu) {
    platform.setWindowTitle(startupWindowTitle());
    stopPlayback(app);
    renewAppState(app);
    clearEffectController2D(screen); // its canvases keep the old song's trail otherwise
    menu.checkedNoteLatency = app.engine.noteLatency;
    menu.checkedSampleRate = app.stream.format.sampleRate;
    redrawEverything(app, screen);
}

// Every instrument's knobs and delays are handed to the engine, so a loaded song plays with its
// own settings on all four instruments, not only on the one in view.
void recordAllInstrumentSettings(AppState& app) {
    for (int instrument = 0; instrument < kInstrumentCount; ++instrument) {
        recordKnobChange(app, instrument);
        recordDelayChange(app, instrument);
    }
}

// File > Open, and File > Open Recent with the recent song's path.
bool openSong(AppState& app, Screen& screen, Platform& platform, const std::string* recentPath) {
    stopPlayback(app);
    const bool opened =
        recentPath ? openSongPath(app, *recentPath, platform) : openSongFile(app, platform);
    if (opened) showOpenedSong(app, screen);
    updatePanel(app, screen, PanelId::PlayStopRecord);
    return opened;
}

// New, Open and Open Recent (`recentPath`) once the song may be left; the song matches its file
// afterwards when it was opened, made new, or saved before leaving it.
MenuOutcome replaceSong(AppState& app, Screen& screen, Platform& platform, MenuState& menu,
                        bool songModified, int id, const std::string* recentPath) {
    const SongLeaving leaving = askToLeaveSong(app, platform, songModified);
    if (leaving == SongLeaving::Stay) return MenuOutcome::Continue;
    bool replaced = true;
    if (id == kMenuNew)
        newSong(app, screen, platform, menu);
    else
        replaced = openSong(app, screen, platform, recentPath);
    return replaced || leaving == SongLeaving::SavedFirst ? MenuOutcome::NothingUnsaved
                                                          : MenuOutcome::Continue;
}

// File > Open Recent: a number past the recent songs opens nothing.
MenuOutcome openRecentSong(AppState& app, Screen& screen, Platform& platform, MenuState& menu,
                           bool songModified, int index) {
    const std::vector<std::string>& recent = platform.settings().recentSongs;
    if (index < 0 || index >= static_cast<int>(recent.size())) return MenuOutcome::Continue;
    const std::string path = recent[static_cast<size_t>(index)]; // opening reorders the list
    return replaceSong(app, screen, platform, menu, songModified, kMenuOpen, &path);
}

void saveRecording(AppState& app, Screen& screen, Platform& platform) {
    stopPlayback(app);
    if (app.recording.recordedChunks < 1)
        platform.showMessage("No beats recorded.", "Sorry", MessageIcon::None);
    else
        saveRecordedWave(app, platform);
    updatePanel(app, screen, PanelId::PlayStopRecord);
}

void setNoteLatency(AppState& app, Screen& screen, MenuState& menu, int latency) {
    stopPlayback(app);
    app.engine.noteLatency = latency;
    menu.checkedNoteLatency = latency;
    updatePanel(app, screen, PanelId::PlayStopRecord);
}

void chooseSampleRate(AppState& app, Screen& screen, MenuState& menu, int rate) {
    stopPlayback(app);
    setSampleRate(app, rate);
    menu.checkedSampleRate = rate;
    updatePanel(app, screen, PanelId::PlayStopRecord);
}

// Edit menu: each Copy enables its Paste item for good.
void onEditCommand(AppState& app, Screen& screen, MenuState& menu, int id) {
    switch (id) {
    case kMenuCopyPattern:
        copyPattern(app.song, app.clipboards, app.ui.currentInstrument, viewedBankStart(app));
        menu.pasteEnabled[0] = 1;
        break;
    case kMenuCopyEnvelope:
        copyEnvelope(app.song, app.clipboards, envelopeBankOf(app.song, app.ui.currentInstrument),
                     app.ui.envelopeCurve);
        menu.pasteEnabled[1] = 1;
        break;
    case kMenuCopyWaveform:
        copyWaveform(app.song, app.clipboards, waveformSlotOf(app.song, app.ui.currentInstrument));
        menu.pasteEnabled[2] = 1;
        break;
    case kMenuCopyEffects:
        copyEffects(app.song, app.clipboards, app.ui.currentInstrument);
        menu.pasteEnabled[3] = 1;
        break;
    case kMenuPastePattern:
        pastePattern(app.song, app.clipboards, app.ui.currentInstrument, viewedBankStart(app));
        updatePanel(app, screen, PanelId::NotePad);
        updatePanel(app, screen, PanelId::PanAndVelocity);
        break;
    case kMenuPasteEnvelope:
        pasteEnvelope(app.song, app.clipboards, envelopeBankOf(app.song, app.ui.currentInstrument),
                      app.ui.envelopeCurve);
        redrawEnvelope(app, screen);
        break;
    case kMenuPasteWaveform:
        pasteWaveform(app.song, app.clipboards, waveformSlotOf(app.song, app.ui.currentInstrument));
        rebuildPlaybackWaveform(app, waveformSlotOf(app.song, app.ui.currentInstrument));
        redrawWaveform(app, screen);
        break;
    case kMenuPasteEffects:
        pasteEffects(app.song, app.clipboards, app.ui.currentInstrument);
        recordKnobChange(
            app,
            app.ui.currentInstrument); // the engine ramps to the pasted values as after a knob drag
        updatePanel(app, screen, PanelId::EffectController2D);
        updatePanel(app, screen, PanelId::EffectKnobs);
        break;
    default:
        break;
    }
}

} // namespace

void showOpenedSong(AppState& app, Screen& screen) {
    redrawEverything(app, screen);
    recordAllInstrumentSettings(app);
}

void redrawEverything(AppState& app, Screen& screen) {
    renderAllPanels(app, screen);
    presentAllPanels(app, screen);
    showHoverHelp(app, screen, -1, -1);
}

MenuOutcome onMenuCommand(AppState& app, Screen& screen, Platform& platform, MenuState& menu,
                          int id, bool songModified) {
    if (menuItemGrayed(menu, id)) return MenuOutcome::Continue;
    switch (id) {
    case kMenuNew:
    case kMenuOpen:
        return replaceSong(app, screen, platform, menu, songModified, id, nullptr);
    case kMenuSave:
    case kMenuSaveAs: {
        stopPlayback(app);
        const bool saved = id == kMenuSave ? saveSong(app, platform) : saveSongAs(app, platform);
        updatePanel(app, screen, PanelId::PlayStopRecord);
        return saved ? MenuOutcome::NothingUnsaved : MenuOutcome::Continue;
    }
    case kMenuSaveRecordedWave:
        saveRecording(app, screen, platform);
        break;
    case kMenuExportSong:
        exportSong(app, platform);
        break;
    case kMenuImportWave:
        importWaveFile(app, platform, waveformSlotOf(app.song, app.ui.currentInstrument));
        redrawWaveform(app, screen);
        break;
    case kMenuExit:
        return askToLeaveSong(app, platform, songModified) == SongLeaving::Stay
                   ? MenuOutcome::Continue
                   : MenuOutcome::Exit;
    case kMenuNoteLatency1:
        setNoteLatency(app, screen, menu, 1);
        break;
    case kMenuNoteLatency2:
        setNoteLatency(app, screen, menu, 2);
        break;
    case kMenuNoteLatency3:
        setNoteLatency(app, screen, menu, 3);
        break;
    case kMenuSampleRate22050:
        chooseSampleRate(app, screen, menu, 22050);
        break;
    case kMenuSampleRate44100:
        chooseSampleRate(app, screen, menu, 44100);
        break;
    case kMenuHelp:
        showHelpBox(platform);
        break;
    case kMenuAbout:
        showAboutBox(platform);
        break;
    default:
        if (id >= kMenuOpenRecentFirst && id <= kMenuOpenRecentLast)
            return openRecentSong(app, screen, platform, menu, songModified,
                                  id - kMenuOpenRecentFirst);
        onEditCommand(app, screen, menu, id);
        break;
    }
    return MenuOutcome::Continue;
}
