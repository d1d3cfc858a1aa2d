// The running estimate of the converted size against the disc's capacity.
#pragma once

#include <cstdint>

namespace vt::project {

inline constexpr int kDiscBarFullWidth = 648;

enum class DiscType { DVD5 = 0, DVD9 = 1 };

struct DiscEstimate {
    int64_t estimateKB = 0;
    int64_t limitKB = 0;
    int barWidth = 0;  // pixels of the size bar

    bool withinLimit() const { return estimateKB < limitKB; }
};

// totalSeconds × sizePerMinuteKB ÷ 60 in 64-bit arithmetic (long projects do
// not wrap), the limit of the disc type and the bar width
// trunc(min(max(estimate, 0), limit) × 100 ÷ limit × 0.01 × 648).
DiscEstimate EstimateDiscSize(int64_t totalSeconds, int64_t sizePerMinuteKB, DiscType disc, int64_t dvd5SizeKB,
                              int64_t dvd9SizeKB);
// The same for a size already known (the fill a fit to disc plans).
DiscEstimate DiscFill(int64_t estimateKB, int64_t limitKB);

} // namespace vt::project
