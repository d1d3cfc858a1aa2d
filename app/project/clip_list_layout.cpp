#include "app/project/clip_list_layout.h"

#include <algorithm>

namespace vt::project {

int ListPanelTop(int clipCount, int thumbTop)
{
    if (clipCount <= kVisibleListEntries)
        return 0;
    const int thumb = std::clamp(thumbTop, 0, kScrollThumbTravel);
    return -(((clipCount - kVisibleListEntries) * thumb) / kScrollThumbTravel) * kListEntryHeight;
}

int SelectionAfterRemoval(int removedIndex, int remainingCount)
{
    if (remainingCount <= 0)
        return -1;
    return std::min(removedIndex, remainingCount - 1);
}

} // namespace vt::project
