#include "app/widgets/sui_group_box.h"

#include "app/widgets/localized_texts.h"

TsuiGroupBox::TsuiGroupBox(QWidget *parent)
    : QGroupBox(parent)
{
    vt::setLocalizedTexts(this, vt::LocalizedTexts::Caption);
}
