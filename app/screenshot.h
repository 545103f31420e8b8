// Screenshots: the window picture written as an 8-bit RGB PNG file.
#pragma once

#include <string>

struct Display;

// Writes the whole client picture (828 x 573, times `zoom` with every pixel repeated) to `path`,
// replacing it only once the whole file is written. Returns false when the file cannot be
// written (a pipe or a device in its place included).
bool writeScreenshotPng(const Display& display, const std::string& path, int zoom = 1);
