#include "app/widgets/sui_button.h"

#include "app/widgets/localized_texts.h"

TsuiButton::TsuiButton(QWidget *parent)
    : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Enter in a window does not press the first button by surprise.
    setAutoDefault(false);
    vt::setLocalizedTexts(this, vt::LocalizedTexts::Caption);
}
