// At start: the offer of the songs that autosave kept for programs that no longer run.
#pragma once

#include <string>

class Autosaver;
class Platform;
struct AppState;
struct InputTargets;
struct LeftAutosave;

// The text of the offer: which song, and when it was kept.
std::string recoveryOfferText(const LeftAutosave& left);

// Offers the left autosaves under the autosaver's root, newest first. Recover opens the song as
// it was kept, belonging to its own file (the title names that file), and makes the autosave
// this program's own; Discard removes it and offers the next; Later keeps it and the rest for
// the next start. Returns true when a song was recovered.
bool offerLeftAutosaves(AppState& app, Platform& platform, Autosaver& autosaver);

// The offer at start: a recovered song is shown, and its edit history starts on it marked
// modified, so that it is saved (or asked about) before it can be lost.
void offerRecovery(InputTargets& targets, Autosaver& autosaver);
