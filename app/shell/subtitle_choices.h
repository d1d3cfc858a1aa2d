// What the boxes of a user-defined subtitle language offer: the font files
// fontconfig knows, the character sets iconv can convert from, and the
// language codes the region list already uses.
#pragma once

#include <string>
#include <vector>

namespace vt::common {
class RegionList;
}

namespace vt::shell {

// The scalable font files fontconfig lists, as full paths, sorted.
std::vector<std::string> SubtitleFontFiles();
// The character sets of subtitle files in common use that iconv on this
// system opens for a conversion to UTF-8, in a fixed order.
std::vector<std::string> SubtitleCharacterSets();
// The language codes of every region of the list, each once, sorted.
std::vector<std::string> RegionLanguageCodes(const common::RegionList &regions);

} // namespace vt::shell
