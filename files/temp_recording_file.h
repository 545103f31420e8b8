// The temporary recording file: a private folder under the user's temporary directory.
#pragma once

#include <cstdio>
#include <string>

// Name of the temporary recording file inside the private folder.
inline constexpr const char* kTempRecordingName = "TempHB101.dat";

// Path of the temporary recording file: $TMPDIR (else /tmp) / humbrook-<uid> / TempHB101.dat.
std::string tempRecordingPath();

// Creates the private folder (mode 0700) if needed and checks that it is a real folder owned by
// this user and closed to others. Returns false when it cannot be made safe.
bool preparePrivateTempFolder();

// Creates or truncates the temporary file for writing without following a link planted in its
// place. Returns nullptr on failure.
std::FILE* createTempRecordingFile();

// Opens the temporary file for reading, again without following a link. Returns nullptr on failure.
std::FILE* openTempRecordingFileForReading();
