#include "app/shell/int_sort.h"

#include <algorithm>

namespace vt::shell {

void IntSort(int *values, int first, int last)
{
    if (!values || first < 0 || last <= first)
        return;
    std::sort(values + first, values + last + 1);
}

} // namespace vt::shell
