#include "app/widgets/sui_group_box.h"

TsuiGroupBox::TsuiGroupBox(QWidget *parent)
    : QGroupBox(parent)
{
}
