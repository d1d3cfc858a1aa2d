#include "app/menu/text_item_font.h"

#include <QFontMetrics>

#include <algorithm>

namespace vt::menu {

QFont FontOfTextItem(const TextItem &item)
{
    QFont font(QString::fromStdString(item.fontName));
    font.setPixelSize(std::max(1, item.fontSize * 96 / 72));
    font.setBold(item.bold);
    font.setItalic(item.italic);
    font.setUnderline(item.underline);
    font.setStrikeOut(item.strikeout);
    return font;
}

QSize TextItemSize(const TextItem &item)
{
    const QFontMetrics metrics(FontOfTextItem(item));
    return {std::max(1, metrics.horizontalAdvance(QString::fromStdString(item.text))), metrics.height()};
}

} // namespace vt::menu
