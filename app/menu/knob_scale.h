// The image dialog's slider: knob positions 28 to 316 over the clip's
// range [t0, t1], and the second asked for when the knob is released.
#pragma once

#include <cstdint>

namespace vt::menu {

inline constexpr int kKnobLeft = 28, kKnobRight = 316;

struct KnobScale {
    int32_t t0 = 0, t1 = 1;

    // The clip's start and end; a clip whose ends meet spans one second.
    static KnobScale forRange(int32_t start, int32_t end);
    int positionFor(int32_t time) const;
    int32_t timeAt(int position) const;
};

// The second requested for the knob's time: ten seconds earlier within the
// clip's last ten seconds, and never before second 1.
int32_t RequestedSecond(int32_t knobTime, int32_t duration);

} // namespace vt::menu
