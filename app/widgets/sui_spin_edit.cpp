#include "app/widgets/sui_spin_edit.h"

TsuiSpinEdit::TsuiSpinEdit(QWidget *parent)
    : QSpinBox(parent)
{

}
