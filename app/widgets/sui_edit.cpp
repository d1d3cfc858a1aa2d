#include "app/widgets/sui_edit.h"

TsuiEdit::TsuiEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void TsuiEdit::setColor(const QColor &color)
{
    color_ = color;
    // A style sheet of the widget's own wins over the skin's rule for
    // edit boxes, and keeps the skin's border and padding.
    setStyleSheet(color.isValid()
        ? QStringLiteral("background-color: %1;").arg(color.name())
        : QString());
}

void TsuiEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    emit entered();
}

void TsuiEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    emit exited();
}
