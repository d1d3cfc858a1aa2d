#include "app/widgets/sui_check_box.h"

#include "app/widgets/localized_texts.h"

TsuiCheckBox::TsuiCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    vt::setLocalizedTexts(this, vt::LocalizedTexts::Caption);
    setCursor(Qt::PointingHandCursor);
}
