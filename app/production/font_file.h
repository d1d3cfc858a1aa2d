// Turning the font names of the language tables ("ARIAL.TTF", a file name or
// a full path) into a font file the subtitle renderer can open.
#pragma once

#include <string>

namespace vt::production {

inline constexpr const char *kDefaultSubtitleFont = "ARIAL.TTF";

// An existing absolute path is taken as it is. Otherwise the program
// folder's "Fonts/" (name matched without regard to case) comes first, then
// fontconfig's best match for the family the file name stands for
// ("ARIAL.TTF" → Arial, which fontconfig maps to a metric-compatible font),
// then fontconfig's default sans font. "" only when no font exists at all.
std::string ResolveFontFile(const std::string &fontName, const std::string &programFolder);

// fontFile when it has a glyph for every character of the UTF-8 text (or
// when fontconfig does not know it); otherwise the first installed sans font,
// in fontconfig's order, that has them all. fontFile when none has.
std::string FontCoveringText(const std::string &fontFile, const std::string &utf8Text);

} // namespace vt::production
