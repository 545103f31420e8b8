// File > Export Song: choices, file name, the render on its own thread and its outcome.
#include "app/song_export.h"

#include <memory>
#include <sys/stat.h>
#include <thread>

#include "app/app_state.h"
#include "app/song_render.h"

namespace {

FileDialogRequest exportDialog(AudioFormat format) {
    const std::string extension = audioFormatExtension(format);
    FileDialogRequest request;
    request.presetName = "song." + extension;
    const char* description = extension == "wav"    ? "Wave Files"
                              : extension == "flac" ? "FLAC Files"
                                                    : "Ogg Vorbis Files";
    request.filters = {{description, "*." + extension}, {"All Files", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = extension;
    return request;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Stems never replace a file unasked (the Save dialog asks for the one file of a mix).
bool mayWrite(const std::vector<std::string>& files, const ExportChoices& choices,
              Platform& platform) {
    if (!choices.stems) return true;
    std::string existing;
    for (const std::string& file : files)
        if (fileExists(file)) existing += (existing.empty() ? "" : ", ") + fileName(file);
    return existing.empty() ||
           platform.askYesNo(existing + " already exist.\nDo you want to replace them?");
}

} // namespace

std::vector<std::string> exportedFiles(const std::string& path, const ExportChoices& choices) {
    if (!choices.stems) return {path};
    std::vector<std::string> files;
    for (int i = 0; i < kInstrumentCount; ++i) files.push_back(stemPath(path, choices.format, i));
    return files;
}

void exportSong(const AppState& app, Platform& platform) {
    ExportChoices initial;
    initial.sampleRate = app.stream.format.sampleRate;
    const std::optional<ExportChoices> choices = platform.askExportChoices(initial);
    if (!choices) return;
    FileDialogRequest dialog = exportDialog(choices->format);
    dialog.overwritePrompt = !choices->stems;
    const std::optional<std::string> path = platform.askSavePath(dialog);
    if (!path || !mayWrite(exportedFiles(*path, *choices), *choices, platform)) return;

    auto source = std::make_unique<RenderSource>();
    source->song = app.song;
    source->playbackWaveforms = app.engine.playbackWaveforms;
    source->sampleRate = choices->sampleRate;
    source->noteLatency = app.engine.noteLatency;
    source->randomState = app.randomAtSongStart;
    const RenderRequest request = {*path,         choices->steps, choices->format,
                                   choices->once, choices->tail,  choices->stems};
    RenderProgress progress;
    std::string error;
    RenderOutcome outcome = RenderOutcome::Failed;
    std::thread render([&] { outcome = renderSongFiles(*source, request, progress, error); });
    platform.showRenderProgress(progress);
    render.join();
    if (outcome == RenderOutcome::Failed) showWarning(platform, "Couldn't Write File ");
}
