#include "app/menu/knob_scale.h"

#include <algorithm>

namespace vt::menu {

namespace {

constexpr int kTravel = kKnobRight - kKnobLeft;

} // namespace

KnobScale KnobScale::forRange(int32_t start, int32_t end)
{
    return {start, end == start ? start + 1 : end};
}

int KnobScale::positionFor(int32_t time) const
{
    if (time < t0)
        return kKnobLeft;
    if (time > t1)
        return kKnobRight;
    return static_cast<int>(static_cast<int64_t>(time - t0) * kTravel / (t1 - t0)) + kKnobLeft;
}

int32_t KnobScale::timeAt(int position) const
{
    const int held = std::clamp(position, kKnobLeft, kKnobRight);
    return t0 + static_cast<int32_t>(static_cast<int64_t>(t1 - t0) * (held - kKnobLeft) / kTravel);
}

int32_t RequestedSecond(int32_t knobTime, int32_t duration)
{
    int32_t second = knobTime;
    if (second > duration - 10)
        second -= 10;
    return std::max(second, 1);
}

} // namespace vt::menu
