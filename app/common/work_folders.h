// Choosing and checking the folders the program writes its results to.
//
// Disks are the writable local volumes (platform/volumes.h); the home folder
// stands in where the original fell back to the system drive. An output
// folder is never the work folder or inside it, because production runs
// empty the work folder.
#pragma once

#include "platform/volumes.h"

#include <string>

namespace vt::common {

struct FolderContext {
    const VolumeSource *volumes = nullptr;
    std::string homeFolder;  // with a trailing '/'
    std::string exePath;
    std::string workFolder;

    // This machine's volumes, the user's home, the program and work folders.
    static FolderContext system();
};

// A folder called name (e.g. "Temp/") on the disk with the most free space:
// the first disk with more than 10 GB free wins at once; otherwise the disk
// with the most free space, then the home folder, then the program folder.
// The first candidate that is a writable folder, or can be created, is
// returned (with a trailing '/'); when none can, the home folder. Nothing is
// ever created at the top of a file system, so a disk's root only counts
// when the folder already exists there.
std::string ChooseWorkFolder(const std::string &name, const FolderContext &context);

// The folder to use for output when the user (or the settings file) names
// path: path itself when it is a writable folder outside the work folder, or
// can be made one (not directly at the top of a file system, and never "/"
// itself); else the current output folder when that is usable, else
// ChooseWorkFolder("Temp/"). Every answer exists and ends in '/'. When path
// is refused, *refusal (when given) says why and what is used instead.
std::string ValidateOutputFolder(const std::string &path, const std::string &currentOutputFolder,
                                 const FolderContext &context, std::string *refusal = nullptr);

} // namespace vt::common
