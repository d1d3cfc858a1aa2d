#include "engines/authoring/run_state.h"

#include <atomic>

namespace authoring {

RunState &run_state()
{
    static RunState state;
    return state;
}

void publish(int &counter, int value)
{
    std::atomic_ref<int>(counter).store(value, std::memory_order_relaxed);
}

} // namespace authoring
