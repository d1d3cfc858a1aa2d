#include "app/common/format_hms.h"

namespace vt::shell {

std::string TwoDigits(int64_t value)
{
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return (magnitude > 9 ? "" : "0") + std::to_string(magnitude);
}

std::string FormatHMS(int64_t seconds)
{
    const int64_t hours = seconds / 3600;
    const int64_t minutes = (seconds % 3600) / 60;
    const int64_t rest = seconds % 3600 % 60;
    return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
}

} // namespace vt::shell
