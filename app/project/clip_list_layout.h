// Where the clip list's entries go and which one is selected after a change.
#pragma once

namespace vt::project {

inline constexpr int kListEntryHeight = 77;
inline constexpr int kVisibleListEntries = 5;
inline constexpr int kScrollThumbTravel = 332;

// Top of entry index in the scrolling panel (its subtitle marker sits 1 lower).
inline int ListEntryTop(int index)
{
    return index * kListEntryHeight;
}

// The panel's top for the scroll thumb at thumbTop (0..332): whole entries,
// and 0 while all clips fit.
int ListPanelTop(int clipCount, int thumbTop);

// The entry selected after removing removedIndex from a list that now holds
// remainingCount clips: the one now at that place, else the new last one,
// −1 for an empty list.
int SelectionAfterRemoval(int removedIndex, int remainingCount);

} // namespace vt::project
