// The text dialog's rules: the style list's index, and the sample's text
// when it is wider than its group.
#pragma once

#include <string>

namespace vt::menu {

// "Regular" 0, "Italic" 1, "Bold" 2, "Bold Italic" 3.
int StyleIndex(bool bold, bool italic);
void StyleFromIndex(int index, bool &bold, bool &italic);

// The text without leading and trailing blanks.
std::string TrimmedText(const std::string &text);

// The sample cut to its first trunc(characters × groupWidth ÷ sampleWidth)
// characters when it is wider than the group; whole characters only (a
// character of several UTF-8 bytes is never split). Unchanged when it fits.
std::string CutSampleText(const std::string &utf8, int groupWidth, int sampleWidth);

} // namespace vt::menu
