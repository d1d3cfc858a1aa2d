// What the program's settings are read from and written to on this
// machine: the settings file, the user's registry file, the region list,
// the folders and the user's locale. Tests build one over a folder of
// their own.
#pragma once

#include "app/common/region_list.h"
#include "app/common/work_folders.h"
#include "platform/registry.h"

#include <string>

namespace vt::common {

struct SettingsEnvironment {
    std::string optionIniRead;   // the settings file to read
    std::string optionIniWrite;  // where saving writes it
    UserRegistry registry;
    RegionList regions;
    FolderContext folders;
    std::string userLanguageName;  // English name of the user's language
    int osClass = 7;

    // This machine: settings and region files of the program, the user's
    // registry file, volumes and locale.
    static SettingsEnvironment program();
};

} // namespace vt::common
