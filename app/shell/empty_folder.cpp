#include "app/common/empty_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::shell {

namespace {

// Removes the entries of the open folder fd; entries are opened relative to
// their parent with O_NOFOLLOW, so a link swapped in meanwhile is not entered.
bool emptyOpenFolder(int fd)
{
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const int child = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0 || !emptyOpenFolder(child)) {
                ok = false;
                continue;
            }
            ok = ::unlinkat(::dirfd(dir), entry->d_name, AT_REMOVEDIR) == 0 && ok;
        } else {
            ok = ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0 && ok;
        }
    }
    ::closedir(dir);
    return ok;
}

} // namespace

bool EmptyFolder(const std::string &folder)
{
    if (folder.empty() || folder.find_first_not_of('/') == std::string::npos)
        return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    return emptyOpenFolder(fd);
}

} // namespace vt::shell
