#include "platform/paths.h"

#include "platform/text_case.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vt {

namespace {

std::mutex exePathLock;
std::string exePathValue;

std::string programFolderOfRunningFile()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withTrailingSlash(fs::current_path(ec).string());
    return withTrailingSlash(exe.parent_path().string());
}

std::string xdgFolder(const char *variable, const char *fallbackBelowHome)
{
    const char *value = std::getenv(variable);
    if (value && value[0] == '/')
        return withTrailingSlash(value);
    return homeFolder() + fallbackBelowHome;
}

} // namespace

const std::string &ExePath()
{
    std::lock_guard<std::mutex> guard(exePathLock);
    if (exePathValue.empty())
        exePathValue = programFolderOfRunningFile();
    return exePathValue;
}

void SetExePath(const std::string &folder)
{
    std::lock_guard<std::mutex> guard(exePathLock);
    exePathValue = withTrailingSlash(fs::absolute(folder).lexically_normal().string());
}

std::string withTrailingSlash(const std::string &path)
{
    if (path.empty() || path.back() == '/')
        return path;
    return path + "/";
}

bool isWritableFolder(const std::string &folder)
{
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool ensureFolder(const std::string &folder)
{
    if (folder.empty())
        return false;
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    fs::create_directories(folder, ec);
    return !ec && fs::is_directory(folder, ec);
}

std::string homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        return withTrailingSlash(home);
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return withTrailingSlash(pw->pw_dir);
    return "/tmp/";
}

std::string settingsFolder()
{
    if (isWritableFolder(ExePath()))
        return ExePath();
    return xdgFolder("XDG_CONFIG_HOME", ".config/") + "vantorel/";
}

std::string settingsFileForReading(const std::string &name)
{
    const std::string written = settingsFolder() + name;
    std::error_code ec;
    if (fs::exists(written, ec))
        return written;
    const std::string shipped = resolveCaseInsensitive(ExePath() + name);
    return shipped.empty() ? written : shipped;
}

std::string settingsFileForWriting(const std::string &name)
{
    const std::string folder = settingsFolder();
    ensureFolder(folder);
    return folder + name;
}

std::string workFolder()
{
    if (isWritableFolder(ExePath()))
        return ExePath() + "Temp/";
    return xdgFolder("XDG_CACHE_HOME", ".cache/") + "vantorel/Temp/";
}

std::string resolveCaseInsensitive(const std::string &path)
{
    std::error_code ec;
    if (path.empty())
        return {};
    if (fs::exists(fs::symlink_status(path, ec)))
        return path;

    const fs::path p(path);
    fs::path resolved = p.is_absolute() ? fs::path("/") : fs::path();
    for (const fs::path &part : p.relative_path()) {
        const std::string name = part.string();
        if (name.empty())
            continue;
        const fs::path exact = resolved / part;
        if (name == "." || name == ".." || fs::exists(fs::symlink_status(exact, ec))) {
            resolved = exact;
            continue;
        }
        const fs::path folder = resolved.empty() ? fs::path(".") : resolved;
        std::string found;
        for (const DirectoryEntry &entry : listFolder(folder.string())) {
            if (equalsIgnoreCase(entry.name, name)) {
                found = entry.name;
                break;
            }
        }
        if (found.empty())
            return {};
        resolved /= found;
    }
    std::string out = resolved.string();
    if (path.back() == '/')
        out = withTrailingSlash(out);
    return out;
}

std::vector<DirectoryEntry> listFolder(const std::string &folder)
{
    std::vector<DirectoryEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        DirectoryEntry entry;
        entry.name = it->path().filename().string();
        std::error_code statError;
        entry.isSymlink = it->is_symlink(statError);
        entry.isDirectory = !entry.isSymlink && it->is_directory(statError);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry &a, const DirectoryEntry &b) { return lessIgnoreCase(a.name, b.name); });
    return entries;
}

bool isSameOrInside(const std::string &path, const std::string &folder)
{
    if (path.empty() || folder.empty())
        return false;
    std::error_code ec;
    auto normal = [&ec](const std::string &p) {
        fs::path n = fs::weakly_canonical(fs::absolute(p), ec);
        std::string s = n.lexically_normal().string();
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return s;
    };
    const std::string a = normal(path), b = normal(folder);
    if (a == b)
        return true;
    return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && (b == "/" || a[b.size()] == '/');
}

} // namespace vt
