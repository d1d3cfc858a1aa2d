// File dialog filters.
//
// Settings store filters as "description|pattern;pattern|description|…"
// (for example "VOB File (*.vob,*.VOB)|*.vob"). Qt wants
// "description (pattern pattern);;…". The original platform matched patterns
// without regard to case; Linux file names are case-sensitive, so every
// letter of a pattern becomes a bracket pair ("*.vob" → "*.[vV][oO][bB]").
#pragma once

#include <string>
#include <vector>

namespace vt {

// One Qt name filter per pair, in order. Pairs with an empty pattern list
// are dropped; a trailing description without patterns is dropped too.
std::vector<std::string> qtFileDialogFilters(const std::string &profileFilter);

// The same filters joined with ";;"; an empty filter gives "".
std::string qtFileDialogFilter(const std::string &profileFilter);

} // namespace vt
