#include "app/production/menu_control_file.h"

#include "app/production/xml_text.h"

namespace vt::production {

std::vector<std::string> MakeMenuControlFile(const std::string &highlightPng, const std::string &selectPng,
                                             const std::vector<EdgeRect> &buttons)
{
    std::vector<std::string> lines = {
        "<subpictures>",
        "  <stream>",
        "    <spu start=\"00:00:00.0\" end=\"00:00:00.0\"",
        "         highlight=\"" + XmlAttributeValue(highlightPng) + "\"",
        "         select=\"" + XmlAttributeValue(selectPng) + "\"",
        "         transparent=\"010101\" force=\"yes\"",
        "         autoorder=\"rows\">",
    };
    for (const EdgeRect &b : buttons)
        lines.push_back("    <button x0=\"" + std::to_string(b.left) + "\" y0=\"" + std::to_string(b.top) + "\" x1=\"" +
                        std::to_string(b.right) + "\" y1=\"" + std::to_string(b.bottom) + "\"/>");
    lines.insert(lines.end(), {"    </spu>", "  </stream>", "</subpictures>"});
    return lines;
}

} // namespace vt::production
