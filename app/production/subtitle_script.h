// The spumux control file "subtitle.xml" that puts one clip's text
// subtitles into its VOB.
#pragma once

#include <string>
#include <vector>

namespace vt::production {

struct SubtitleScriptInput {
    std::string srtFile;
    std::string characterSet = "ISO-8859-1";
    int fontSize = 20;
    std::string fontFile;  // a font file spumux can open
    bool pal = false;
};

std::vector<std::string> MakeSubtitleScript(const SubtitleScriptInput &input);

} // namespace vt::production
