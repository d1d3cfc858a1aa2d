#include "app/widgets/sui_font_combo_box.h"

TsuiFontComboBox::TsuiFontComboBox(QWidget *parent)
    : QFontComboBox(parent)
{
    setFontFilters(QFontComboBox::ScalableFonts);
}
