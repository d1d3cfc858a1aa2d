#include "app/production/progress_timer.h"

namespace vt::production {

void ProgressTimer::enable()
{
    enabled_ = true;
    due_ = Clock::now() + kInterval;
}

void ProgressTimer::poll(Clock::time_point now)
{
    if (!enabled_ || now < due_ || !tick_)
        return;
    due_ = now + kInterval;
    tick_();
}

} // namespace vt::production
