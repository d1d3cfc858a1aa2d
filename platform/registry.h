// The per-user registry values the program reads, kept in an ini file.
//
// HKEY_CURRENT_USER\SOFTWARE\Pellorn maps to section "SOFTWARE\Pellorn" of
// $XDG_CONFIG_HOME/Pellorn/registry.ini (~/.config/Pellorn/registry.ini);
// every key path maps to the section of the same name.
#pragma once

#include <optional>
#include <string>

namespace vt {

class UserRegistry {
public:
    // The file of the current user.
    UserRegistry();
    // A registry kept in the given file (tests).
    explicit UserRegistry(std::string file);

    const std::string &file() const { return file_; }

    // The string value, or nothing when the key or the value does not exist.
    std::optional<std::string> readString(const std::string &keyPath, const std::string &valueName) const;
    bool writeString(const std::string &keyPath, const std::string &valueName, const std::string &value);

private:
    std::string file_;
};

} // namespace vt
