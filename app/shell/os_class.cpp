#include "app/common/os_class.h"

namespace vt::shell {

int OperatingSystemClass()
{
    return kOsClassModern;
}

bool IsLegacyConsumerOs(int osClass)
{
    return osClass == 1 || osClass == 4 || osClass == 6;
}

} // namespace vt::shell
