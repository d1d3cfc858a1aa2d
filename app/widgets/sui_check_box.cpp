#include "app/widgets/sui_check_box.h"

TsuiCheckBox::TsuiCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    setCursor(Qt::PointingHandCursor);
}
