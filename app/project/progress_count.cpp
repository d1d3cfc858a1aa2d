#include "app/project/progress_count.h"

#include <algorithm>

namespace vt::project {

void ProgressCount::start(int total)
{
    total_ = total;
    count_ = 0;
}

int ProgressCount::percent() const
{
    if (total_ <= 0)
        return 0;
    const long long percent = static_cast<long long>(count_) * 100 / total_;
    return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

} // namespace vt::project
