#include "app/project/disc_estimate.h"

#include <algorithm>

namespace vt::project {

DiscEstimate EstimateDiscSize(int64_t totalSeconds, int64_t sizePerMinuteKB, DiscType disc, int64_t dvd5SizeKB,
                              int64_t dvd9SizeKB)
{
    return DiscFill(totalSeconds * sizePerMinuteKB / 60, disc == DiscType::DVD5 ? dvd5SizeKB : dvd9SizeKB);
}

DiscEstimate DiscFill(int64_t estimateKB, int64_t limitKB)
{
    DiscEstimate result;
    result.estimateKB = estimateKB;
    result.limitKB = limitKB;
    if (result.limitKB > 0) {
        const int64_t shown = std::min(std::max<int64_t>(result.estimateKB, 0), result.limitKB);
        result.barWidth = static_cast<int>(static_cast<double>(shown) * 100.0 / result.limitKB * 0.01 * kDiscBarFullWidth);
    }
    return result;
}

} // namespace vt::project
