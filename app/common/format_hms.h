// Seconds as "HH:MM:SS".
#pragma once

#include <cstdint>
#include <string>

namespace vt::common {

// The absolute value in decimal, with a leading "0" below 10.
std::string TwoDigits(int64_t value);

// Hours above 99 take as many digits as needed: 360000 → "100:00:00".
std::string FormatHMS(int64_t seconds);

} // namespace vt::common
