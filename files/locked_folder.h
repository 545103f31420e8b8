// Folders a running program holds with a lock: removing one that was left behind.
#pragma once

// Empties the folder `name` of the folder open as `parent` (itself open as `fd`) and removes it.
// Only its own entries go: a folder inside it is left, and then so is the folder.
void removeFolderAndFiles(int parent, const char* name, int fd);
