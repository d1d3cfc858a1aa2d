// The operating-system class the settings' first run asks for.
//
// Codes: 1 Windows 95, 4 Windows 98, 6 Windows Me, 0 other 9x, 2 NT 4,
// 5 Windows 2000, 7 later NT systems. This system is always of the
// modern class.
#pragma once

namespace vt::common {

inline constexpr int kOsClassModern = 7;

int OperatingSystemClass();

// True for the 95, 98 and Me codes (the systems whose burners use ASPI).
bool IsLegacyConsumerOs(int osClass);

} // namespace vt::common
