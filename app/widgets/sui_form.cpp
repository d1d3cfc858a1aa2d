#include "app/widgets/sui_form.h"

#include "app/widgets/sui_title_bar.h"

#include <QEvent>
#include <QVBoxLayout>

TsuiForm::TsuiForm(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags | Qt::FramelessWindowHint)
    , titleBar_(new TsuiTitleBar(this))
    , client_(new QWidget(this))
{
    client_->setObjectName(QStringLiteral("client"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    layout->setSpacing(0);
    layout->addWidget(titleBar_);
    layout->addWidget(client_, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TsuiForm::setClientSize(int width, int height)
{
    client_->setFixedSize(width, height);
    layout()->activate();
}

void TsuiForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        titleBar_->setCaption(windowTitle());
    QDialog::changeEvent(event);
}
