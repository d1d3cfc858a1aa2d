#include "app/widgets/sui_button.h"

TsuiButton::TsuiButton(QWidget *parent)
    : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Enter in a window does not press the first button by surprise.
    setAutoDefault(false);
}
