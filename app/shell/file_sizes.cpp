#include "app/common/file_sizes.h"

#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::shell {

int64_t FileSize(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat st {};
    const int64_t size = (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) ? static_cast<int64_t>(st.st_size) : 0;
    ::close(fd);
    return size;
}

void FolderSize(const std::string &folder, uint64_t &total)
{
    const std::string base = withTrailingSlash(folder);
    for (const DirectoryEntry &entry : listFolder(base)) {
        if (entry.isSymlink)
            continue;
        if (entry.isDirectory)
            FolderSize(base + entry.name, total);
        else
            total += static_cast<uint64_t>(FileSize(base + entry.name));
    }
}

} // namespace vt::shell
