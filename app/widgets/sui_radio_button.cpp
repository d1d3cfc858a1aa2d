#include "app/widgets/sui_radio_button.h"

#include "app/widgets/localized_texts.h"

TsuiRadioButton::TsuiRadioButton(QWidget *parent)
    : QRadioButton(parent)
{
    vt::setLocalizedTexts(this, vt::LocalizedTexts::Caption);
    setCursor(Qt::PointingHandCursor);
}
