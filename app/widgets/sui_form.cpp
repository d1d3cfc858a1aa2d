#include "app/widgets/sui_form.h"

#include "app/widgets/sui_title_bar.h"
#include "app/widgets/window_dragger.h"

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

void TsuiForm::setTitleBarVisible(bool visible)
{
    titleBar_->setVisible(visible);
    layout()->activate();
}

void TsuiForm::setDragByClient(bool enabled)
{
    delete clientDragger_;
    clientDragger_ = enabled ? new vt::WindowDragger(client_) : nullptr;
}

void TsuiForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        titleBar_->setCaption(windowTitle());
    QDialog::changeEvent(event);
}
