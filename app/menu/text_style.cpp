#include "app/menu/text_style.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace vt::menu {

int StyleIndex(bool bold, bool italic)
{
    return 2 * (bold ? 1 : 0) + (italic ? 1 : 0);
}

void StyleFromIndex(int index, bool &bold, bool &italic)
{
    bold = index == 2 || index == 3;
    italic = index == 1 || index == 3;
}

std::string TrimmedText(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string CutSampleText(const std::string &utf8, int groupWidth, int sampleWidth)
{
    if (sampleWidth <= groupWidth || sampleWidth <= 0)
        return utf8;
    const QList<uint> characters = QString::fromStdString(utf8).toUcs4();
    const qsizetype keep =
        static_cast<qsizetype>(static_cast<int64_t>(characters.size()) * std::max(groupWidth, 0) / sampleWidth);
    const QList<uint> kept = characters.mid(0, keep);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size()).toStdString();
}

} // namespace vt::menu
