#include "app/project/disc_estimate.h"

#include <algorithm>

namespace vt::project {

DiscEstimate EstimateDiscSize(int64_t totalSeconds, int64_t sizePerMinuteKB, DiscType disc, int64_t dvd5SizeKB,
                              int64_t dvd9SizeKB)
{
    DiscEstimate result;
    result.estimateKB = totalSeconds * sizePerMinuteKB / 60;
    result.limitKB = disc == DiscType::DVD5 ? dvd5SizeKB : dvd9SizeKB;
    if (result.limitKB > 0) {
        const int64_t shown = std::min(std::max<int64_t>(result.estimateKB, 0), result.limitKB);
        result.barWidth = static_cast<int>(static_cast<double>(shown) * 100.0 / result.limitKB * 0.01 * kDiscBarFullWidth);
    }
    return result;
}

} // namespace vt::project
