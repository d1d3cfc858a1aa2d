#include "app/common/settings_environment.h"

#include "app/common/os_class.h"
#include "app/common/program_files.h"
#include "platform/locale_name.h"
#include "platform/paths.h"

namespace vt::common {

SettingsEnvironment SettingsEnvironment::program()
{
    return SettingsEnvironment {
        settingsFileForReading(kOptionIni),
        settingsFolder() + kOptionIni,
        UserRegistry(),
        RegionList::program(),
        FolderContext::system(),
        userLanguageEnglishName(),
        OperatingSystemClass(),
    };
}

} // namespace vt::common
