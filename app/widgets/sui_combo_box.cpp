#include "app/widgets/sui_combo_box.h"

TsuiComboBox::TsuiComboBox(QWidget *parent)
    : QComboBox(parent)
{

}
