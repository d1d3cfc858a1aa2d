#include "platform/volumes.h"

#include "platform/paths.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace vt {

namespace {

// mountinfo escapes space, tab, newline and backslash as \ooo.
std::string unescapeMountField(const std::string &field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string octal = field.substr(i + 1, 3);
            if (octal.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(octal, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool hasOption(const std::string &options, const std::string &option)
{
    std::stringstream list(options);
    std::string item;
    while (std::getline(list, item, ','))
        if (item == option)
            return true;
    return false;
}

// File systems through which the kernel shows its own state; everything
// else (disks, ZFS, overlay roots of containers, tmpfs, network shares) can
// hold files.
bool isKernelFileSystem(const std::string &type)
{
    static const char *const kernelTypes[] = {
        "proc",   "sysfs",     "devtmpfs", "devpts",   "cgroup",     "cgroup2",    "mqueue",
        "debugfs", "tracefs",  "securityfs", "pstore", "bpf",        "configfs",   "fusectl",
        "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",    "selinuxfs",
    };
    for (const char *kernelType : kernelTypes)
        if (type == kernelType)
            return true;
    return false;
}

} // namespace

std::vector<std::string> parseMountInfo(const std::string &mountinfo)
{
    std::vector<std::string> roots;
    std::stringstream lines(mountinfo);
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        std::stringstream fields(line);
        std::vector<std::string> f;
        for (std::string word; fields >> word;)
            f.push_back(word);
        size_t dash = 0;
        while (dash < f.size() && f[dash] != "-")
            ++dash;
        if (f.size() < 6 || dash + 2 >= f.size())
            continue;
        const std::string mountPoint = unescapeMountField(f[4]);
        const std::string &options = f[5];
        const std::string source = unescapeMountField(f[dash + 2]);
        const std::string &fileSystem = f[dash + 1];
        if (hasOption(options, "ro") || isKernelFileSystem(fileSystem))
            continue;
        if (source.rfind("/dev/loop", 0) == 0 || source.rfind("/dev/sr", 0) == 0)
            continue;  // disc images and optical drives are not work disks
        roots.push_back(withTrailingSlash(mountPoint));
    }
    return roots;
}

std::vector<Volume> SystemVolumes::volumes() const
{
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    std::vector<Volume> out;
    for (const std::string &root : parseMountInfo(text.str())) {
        struct stat st {};
        struct statvfs vfs {};
        if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || ::statvfs(root.c_str(), &vfs) != 0)
            continue;  // single-file bind mounts and vanished mounts
        if (vfs.f_flag & ST_RDONLY)
            continue;
        Volume v;
        v.root = root;
        v.freeBytes = freeBytesAt(root).value_or(0);
        out.push_back(v);
    }
    return out;
}

std::optional<uint64_t> freeBytesAt(const std::string &path)
{
    struct statvfs vfs {};
    if (path.empty() || ::statvfs(path.c_str(), &vfs) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
}

bool isFileSystemRoot(const VolumeSource &source, const std::string &path)
{
    if (path.empty() || path.front() != '/')
        return false;
    for (const Volume &v : source.volumes())
        if (isSameOrInside(path, v.root) && isSameOrInside(v.root, path))
            return true;
    struct stat here {}, parent {};
    const std::string folder = withTrailingSlash(path);
    if (::stat(folder.c_str(), &here) != 0 || ::stat((folder + "..").c_str(), &parent) != 0)
        return false;
    return here.st_dev != parent.st_dev || here.st_ino == parent.st_ino;
}

std::optional<Volume> volumeOf(const VolumeSource &source, const std::string &path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    std::optional<Volume> best;
    for (const Volume &v : source.volumes()) {
        if (isSameOrInside(path, v.root) && (!best || v.root.size() > best->root.size()))
            best = v;
    }
    return best;
}

} // namespace vt
