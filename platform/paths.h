// Where the program's files are: the program folder, the folders it may
// write to, case-insensitive look-ups and sorted folder listings.
//
// Paths use '/' and folder paths end in '/'.
#pragma once

#include <string>
#include <vector>

namespace vt {

// The folder of the running program file, with a trailing '/'. Programs and
// tests whose files live elsewhere (the test binaries, for instance, use the
// build's program folder) set it once at start.
const std::string &ExePath();
void SetExePath(const std::string &folder);

// Adds a trailing '/' unless the path is empty or already has one.
std::string withTrailingSlash(const std::string &path);

// True when the folder exists and this process may create files in it.
bool isWritableFolder(const std::string &folder);
// True when the folder exists or could be created (and then is).
bool ensureFolder(const std::string &folder);

// The user's home folder, with a trailing '/'.
std::string homeFolder();

// Where the settings files the program writes live: the program folder when
// it is writable (the portable layout, and the build tree), otherwise
// $XDG_CONFIG_HOME/vantorel/ (~/.config/vantorel/).
std::string settingsFolder();
// The settings file to read: the written copy when there is one, otherwise
// the copy shipped in the program folder.
std::string settingsFileForReading(const std::string &name);
std::string settingsFileForWriting(const std::string &name);

// The work folder that production runs empty and refill: "Temp/" in the
// program folder when that is writable, otherwise $XDG_CACHE_HOME/vantorel/Temp/.
std::string workFolder();

// The path of an existing file or folder whose name matches path without
// regard to case, component by component; an exact match is preferred.
// Returns "" when nothing matches.
std::string resolveCaseInsensitive(const std::string &path);

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    bool isSymlink = false;
};

// The entries of a folder ("." and ".." left out), ordered by name without
// regard to case, as the original platform's file system listed them.
// Symbolic links are reported as links and not followed.
std::vector<DirectoryEntry> listFolder(const std::string &folder);

// True when path is the folder itself or lies below it (textual, after
// making both absolute and normal).
bool isSameOrInside(const std::string &path, const std::string &folder);

} // namespace vt
