#include "app/common/work_folder.h"

#include "app/common/empty_folder.h"
#include "platform/paths.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace vt::shell {

namespace {

constexpr const char *kMarkerText =
    "Vantorel keeps the intermediate files of its runs in this folder and deletes\n"
    "everything in it at the start and end of every run. Keep nothing else here.\n";

bool writeMarker(const std::string &folder)
{
    std::ofstream marker(folder + kWorkFolderMarker, std::ios::binary | std::ios::trunc);
    marker << kMarkerText;
    marker.close();
    return static_cast<bool>(marker);
}

bool isEmptyFolder(const std::string &folder)
{
    std::error_code error;
    return fs::is_empty(folder, error) && !error;
}

} // namespace

std::string WorkFolderProblem(const std::string &named, const std::vector<std::string> &sources,
                              const std::string &outputFolder)
{
    if (named.empty() || named.front() != '/')
        return "The work folder \"" + named + "\" is not a full path.";
    std::string path = named;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::exists(status) && !fs::is_directory(status))
        return "The work folder " + path + " is a file, not a folder.";
    if (!outputFolder.empty() && isSameOrInside(outputFolder, named))
        return "The output folder " + withTrailingSlash(outputFolder) + " lies in the work folder " +
               withTrailingSlash(named) + "; choose a work folder that holds neither sources nor output.";
    for (const std::string &source : sources) {
        if (!source.empty() && isSameOrInside(source, named))
            return "The work folder " + withTrailingSlash(named) + " holds the source " + source +
                   "; choose a work folder that holds neither sources nor output.";
    }
    return "";
}

std::string OwnWorkFolder(const std::string &named)
{
    const std::string folder = withTrailingSlash(named);
    return IsOwnWorkFolder(folder) ? folder : folder + kOwnWorkSubfolder;
}

bool MakeOwnWorkFolder(const std::string &folder)
{
    const std::string own = withTrailingSlash(folder);
    if (IsOwnWorkFolder(own))
        return true;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(own.substr(0, own.size() - 1), error);
    if (fs::exists(status) && !(fs::is_directory(status) && isEmptyFolder(own)))
        return false;
    return ensureFolder(own) && isWritableFolder(own) && writeMarker(own);
}

bool IsOwnWorkFolder(const std::string &folder)
{
    std::error_code error;
    const std::string own = withTrailingSlash(folder);
    return !own.empty() && fs::is_directory(fs::symlink_status(own.substr(0, own.size() - 1), error)) &&
           fs::is_regular_file(fs::symlink_status(own + kWorkFolderMarker, error));
}

bool EmptyWorkFolder(const std::string &folder)
{
    const std::string own = withTrailingSlash(folder);
    if (!IsOwnWorkFolder(own))
        return false;
    const bool emptied = EmptyFolder(own);
    return writeMarker(own) && emptied;
}

} // namespace vt::shell
