#include "app/production/subtitle_script.h"

#include "app/production/xml_text.h"

namespace vt::production {

std::vector<std::string> MakeSubtitleScript(const SubtitleScriptInput &in)
{
    const std::string fps = in.pal ? "\"25\"" : "\"29.97\"";
    const std::string height = in.pal ? "\"576\"" : "\"480\"";
    return {
        std::string("<subpictures format=\"") + (in.pal ? "PAL" : "NTSC") + "\">",
        "   <stream>",
        "      <textsub filename=\"" + XmlAttributeValue(in.srtFile) + "\" characterset=\"" +
            XmlAttributeValue(in.characterSet) + "\"",
        "         fontsize=\"" + std::to_string(in.fontSize) + "\" font=\"" + XmlAttributeValue(in.fontFile) +
            "\" horizontal-alignment=\"center\"",
        "         vertical-alignment=\"bottom\" left-margin=\"60\" right-margin=\"60\"",
        "         top-margin=\"20\" bottom-margin=\"30\"",
        "         subtitle-fps=" + fps + " movie-fps=" + fps,
        "         movie-width=\"720\" movie-height=" + height,
        "      />",
        "   </stream>",
        "</subpictures>",
    };
}

} // namespace vt::production
