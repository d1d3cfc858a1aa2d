// Sorting a run of integers in place.
#pragma once

namespace vt::shell {

// Sorts values[first] … values[last] ascending. Nothing happens when first
// is not below last or either index is negative.
void IntSort(int *values, int first, int last);

} // namespace vt::shell
