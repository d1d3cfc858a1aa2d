#include "app/widgets/sui_color_box.h"

#include <QPainter>
#include <QPixmap>

namespace {

const int kCustomRole = Qt::UserRole + 1;

struct NamedColor {
    const char *name;
    QRgb rgb;
};

const NamedColor kStandardColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080}, {"Purple", 0x800080}, {"Teal", 0x008080}, {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000}, {"Lime", 0x00FF00}, {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF}, {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};

QIcon swatch(const QColor &color)
{
    QPixmap picture(14, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
    return QIcon(picture);
}

} // namespace

TsuiColorBox::TsuiColorBox(QWidget *parent)
    : QComboBox(parent)
{
    for (const NamedColor &c : kStandardColors)
        addItem(swatch(QColor(c.rgb)), QLatin1String(c.name), QColor(c.rgb));
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit colorChanged(color()); });
}

QColor TsuiColorBox::color() const
{
    return currentData().value<QColor>();
}

int TsuiColorBox::customIndex() const
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, kCustomRole).toBool())
            return i;
    }
    return -1;
}

void TsuiColorBox::setColor(const QColor &color)
{
    QColor opaque = color.toRgb();
    opaque.setAlpha(255);
    for (int i = 0; i < count(); ++i) {
        if (!itemData(i, kCustomRole).toBool() && itemData(i).value<QColor>() == opaque) {
            setCurrentIndex(i);
            return;
        }
    }
    int custom = customIndex();
    if (custom < 0) {
        addItem(QString());
        custom = count() - 1;
        setItemData(custom, true, kCustomRole);
    }
    setItemText(custom, QStringLiteral("Custom"));
    setItemIcon(custom, swatch(opaque));
    setItemData(custom, opaque);
    if (currentIndex() == custom)
        emit colorChanged(opaque);
    else
        setCurrentIndex(custom);
}
