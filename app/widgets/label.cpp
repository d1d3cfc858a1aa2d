#include "app/widgets/label.h"

#include "app/widgets/localized_texts.h"

TLabel::TLabel(QWidget *parent)
    : QLabel(parent)
{
    vt::setLocalizedTexts(this, vt::LocalizedTexts::Caption);
}
