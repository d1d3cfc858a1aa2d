// The work folder: where a run keeps its intermediate files.
//
// Every run empties its work folder, so the program only ever empties a
// folder it made itself and marked as its own with a marker file. A folder
// the user (or the settings) names is never emptied: the run works in a
// marked subfolder of it. A named folder that holds the sources or the
// output, or that is a plain file, is refused.
#pragma once

#include <string>
#include <vector>

namespace vt::common {

// The marker file of a work folder the program made.
inline constexpr const char *kWorkFolderMarker = ".vantorel-work-folder";
// The subfolder made in a folder the user names.
inline constexpr const char *kOwnWorkSubfolder = "vantorel-work/";

// "" when named may serve as the work folder of a run that reads sources
// and writes into outputFolder; otherwise the reason it may not.
std::string WorkFolderProblem(const std::string &named, const std::vector<std::string> &sources,
                              const std::string &outputFolder);

// The program's own work folder for the folder named: named itself when it
// carries the marker, otherwise its subfolder kOwnWorkSubfolder. With a
// trailing '/'; nothing is created.
std::string OwnWorkFolder(const std::string &named);

// Creates folder when missing and marks it. False when it cannot be made,
// or when it exists without the marker and is not empty (a folder of
// someone else's that happens to have the name).
bool MakeOwnWorkFolder(const std::string &folder);

// True when folder carries the marker.
bool IsOwnWorkFolder(const std::string &folder);

// Empties folder, keeping the marker, when it is the program's own; a folder
// without the marker is left alone (false).
bool EmptyWorkFolder(const std::string &folder);

} // namespace vt::common
