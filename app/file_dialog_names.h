// The names a file dialog works with: a typed name taken as a path, the default extension, the
// folder above, and a filter's pattern as the file list matches it.
#pragma once

#include <string>

// `name` inside `folder` ("/" + "a" is "/a", not "//a").
std::string pathInFolder(const std::string& folder, const std::string& name);

// A name typed into a dialog, as a path: an absolute path stays as typed, "~" and "~/..." start
// in `home` (when there is one), anything else lies inside `folder`, the folder the dialog shows.
std::string resolveTypedName(const std::string& folder, const std::string& typed, const char* home);

// The default extension is added to a path whose last component has none ("a.b/song" becomes
// "a.b/song.zwv"); an empty extension adds nothing.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

// The folder above `folder`: "/a/b" and "/a/b/" give "/a", "/a" gives "/", "/" stays "/".
std::string parentFolder(const std::string& folder);

// A filter's pattern as the file list matches names: "*.*" (all files) becomes "*", which also
// matches names without a dot.
std::string listPattern(const std::string& pattern);

// The folder a file path lies in ("/a/b.zwv" gives "/a", "/b.zwv" gives "/", a bare name "").
std::string folderOfFile(const std::string& path);

// The last component of a path ("/a/b.zwv" gives "b.zwv").
std::string fileNameOf(const std::string& path);
