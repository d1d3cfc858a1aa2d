#include "app/shell/settings.h"

namespace vt::shell {

Settings &programSettings()
{
    static Settings settings;
    return settings;
}

} // namespace vt::shell
