#include "app/common/work_folders.h"

#include "app/common/program_files.h"
#include "platform/paths.h"

#include <filesystem>

namespace vt::shell {

namespace {

constexpr uint64_t kPreferredFreeMB = 10240;

class NoVolumes final : public VolumeSource {
public:
    std::vector<Volume> volumes() const override { return {}; }
};

bool isSystemRoot(const std::string &folder, const FolderContext &context)
{
    static const NoVolumes none;
    return isFileSystemRoot(context.volumes ? *context.volumes : none, folder);
}

// Why folder cannot take output or work files, or "". A folder is made
// when missing, except directly at the top of a file system: the program
// never adds folders there.
std::string folderProblem(const std::string &folder, const FolderContext &context)
{
    if (folder.empty() || folder.front() != '/')
        return "\"" + folder + "\" is not a full path.";
    if (!context.workFolder.empty() && isSameOrInside(folder, context.workFolder))
        return folder + " lies in the work folder " + context.workFolder + ", where runs keep their intermediate files.";
    std::error_code error;
    const std::filesystem::path path = std::filesystem::path(folder).lexically_normal().parent_path();
    if (std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error))
        return folder + " is a file, not a folder.";
    if (!std::filesystem::is_directory(path, error)) {
        std::filesystem::path existing = path.parent_path();
        while (existing.has_relative_path() && !std::filesystem::exists(existing, error))
            existing = existing.parent_path();
        if (isSystemRoot(existing.string(), context))
            return folder + " would be made at the top of the file system " + withTrailingSlash(existing.string()) +
                   "; choose or make a folder on it.";
        if (!ensureFolder(folder))
            return folder + " can not be created.";
    }
    if (!isWritableFolder(folder))
        return folder + " can not be written to.";
    return "";
}

bool usableFolder(const std::string &folder, const FolderContext &context)
{
    return folderProblem(folder, context).empty();
}

} // namespace

FolderContext FolderContext::system()
{
    static const SystemVolumes systemVolumes;
    FolderContext context;
    context.volumes = &systemVolumes;
    context.homeFolder = vt::homeFolder();
    context.exePath = ExePath();
    context.workFolder = vt::workFolder();
    return context;
}

std::string ChooseWorkFolder(const std::string &name, const FolderContext &context)
{
    const std::string folderName = withTrailingSlash(name);
    std::string best = context.homeFolder;
    uint64_t bestFreeMB = 0;
    if (context.volumes) {
        for (const Volume &volume : context.volumes->volumes()) {
            const uint64_t freeMB = volume.freeBytes >> 20;
            if (freeMB > kPreferredFreeMB) {
                if (usableFolder(volume.root + folderName, context))
                    return volume.root + folderName;
            } else if (freeMB > bestFreeMB) {
                best = volume.root;
                bestFreeMB = freeMB;
            }
        }
    }
    for (const std::string &root : {best, context.homeFolder, context.exePath}) {
        if (!root.empty() && usableFolder(root + folderName, context))
            return root + folderName;
    }
    return context.homeFolder;
}

std::string ValidateOutputFolder(const std::string &path, const std::string &currentOutputFolder,
                                 const FolderContext &context, std::string *refusal)
{
    if (path.empty())
        return ChooseWorkFolder(kWorkFolderName, context);
    const std::string folder = withTrailingSlash(path);
    const std::string problem = isSameOrInside("/", folder) ? "The top of the system's file system / can not take output."
                                                             : folderProblem(folder, context);
    if (problem.empty())
        return folder;
    const std::string current = withTrailingSlash(currentOutputFolder);
    const std::string fallback = usableFolder(current, context) ? current : ChooseWorkFolder(kWorkFolderName, context);
    if (refusal)
        *refusal = problem + " The output folder stays " + fallback + ".";
    return fallback;
}

} // namespace vt::shell
