// Progress and stop request of the conversion that runs (or ran last): the
// conversion thread writes it, X_Get_Info and X_StopConvert use it from the
// caller's thread.
#pragma once

#include <atomic>
#include <cstdint>

namespace corvane {

struct ConversionProgress {
    std::atomic<bool> stop_requested{false};
    std::atomic<int32_t> seconds_done{0};
    std::atomic<int32_t> frames_per_second{0};
    std::atomic<int32_t> current_frame{0};
    std::atomic<int32_t> percent_done{0};

    void reset()
    {
        stop_requested = false;
        seconds_done = 0;
        frames_per_second = 0;
        current_frame = 0;
        percent_done = 0;
    }
};

// The library's one conversion record.
ConversionProgress &conversion_progress();

} // namespace corvane
