#include "platform/registry.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

#include <cstdlib>

namespace vt {

namespace {

std::string userRegistryFile()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder = (config && config[0] == '/') ? withTrailingSlash(config) : homeFolder() + ".config/";
    return folder + "Pellorn/registry.ini";
}

// "\SOFTWARE\Pellorn\" and "SOFTWARE\Pellorn" name the same key.
std::string sectionOf(const std::string &keyPath)
{
    size_t first = keyPath.find_first_not_of('\\');
    size_t last = keyPath.find_last_not_of('\\');
    if (first == std::string::npos)
        return {};
    return keyPath.substr(first, last - first + 1);
}

} // namespace

UserRegistry::UserRegistry()
    : file_(userRegistryFile())
{
}

UserRegistry::UserRegistry(std::string file)
    : file_(std::move(file))
{
}

std::optional<std::string> UserRegistry::readString(const std::string &keyPath, const std::string &valueName) const
{
    IniFile ini(file_);
    const std::string section = sectionOf(keyPath);
    if (section.empty() || !ini.hasKey(section, valueName))
        return std::nullopt;
    return ini.readString(section, valueName, "");
}

bool UserRegistry::writeString(const std::string &keyPath, const std::string &valueName, const std::string &value)
{
    const size_t slash = file_.rfind('/');
    if (slash != std::string::npos && !ensureFolder(file_.substr(0, slash + 1)))
        return false;
    IniFile ini(file_);
    return ini.writeString(sectionOf(keyPath), valueName, value);
}

} // namespace vt
