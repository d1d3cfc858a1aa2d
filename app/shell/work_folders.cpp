#include "app/shell/work_folders.h"

#include "app/shell/program_files.h"
#include "platform/paths.h"

namespace vt::shell {

namespace {

constexpr uint64_t kPreferredFreeMB = 10240;

// Exists or could be created, is writable, and is not the work folder.
bool usableFolder(const std::string &folder, const FolderContext &context)
{
    if (folder.empty() || folder.front() != '/')
        return false;
    if (!context.workFolder.empty() && isSameOrInside(folder, context.workFolder))
        return false;
    return ensureFolder(folder) && isWritableFolder(folder);
}

bool onDisk(const std::string &path, const FolderContext &context)
{
    return context.volumes && volumeOf(*context.volumes, path).has_value();
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
                                 const FolderContext &context)
{
    if (!path.empty()) {
        if (const auto volume = context.volumes ? volumeOf(*context.volumes, path) : std::nullopt) {
            std::string folder = withTrailingSlash(path);
            if (isSameOrInside(volume->root, folder))
                folder += kDriveRootOutputFolder;
            if (usableFolder(folder, context))
                return folder;
        } else if (onDisk(currentOutputFolder, context)) {
            const std::string current = withTrailingSlash(currentOutputFolder);
            if (usableFolder(current, context))
                return current;
        }
    }
    return ChooseWorkFolder(kWorkFolderName, context);
}

} // namespace vt::shell
