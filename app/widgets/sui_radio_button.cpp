#include "app/widgets/sui_radio_button.h"

TsuiRadioButton::TsuiRadioButton(QWidget *parent)
    : QRadioButton(parent)
{
    setCursor(Qt::PointingHandCursor);
}
