// The temporary recording file: a private folder of this program under the user's temporary
// directory, so that two running programs never share a recording.
#pragma once

#include <cstdio>
#include <string>

// Name of the temporary recording file inside the private folder.
inline constexpr const char* kTempRecordingName = "TempHB101.dat";

// Path of the temporary recording file:
// $TMPDIR (else /tmp) / humbrook-<uid> / <pid> / TempHB101.dat.
std::string tempRecordingPath();

// Creates the user's folder and this program's folder in it (both mode 0700) if needed, checks
// that they are real folders owned by this user and closed to others, and locks this program's
// folder (flock) for as long as the program runs. On making its folder, removes the folders of
// programs that no longer run (nobody holds their lock). Returns false when it cannot be made
// safe.
bool preparePrivateTempFolder();

// Creates or truncates the temporary file for writing (preparing the folders first) without
// following a link planted in its place. Returns nullptr on failure.
std::FILE* createTempRecordingFile();

// Opens the temporary file for reading, again without following a link. Returns nullptr on failure.
std::FILE* openTempRecordingFileForReading();
