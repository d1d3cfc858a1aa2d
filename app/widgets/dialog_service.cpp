#include "app/widgets/dialog_service.h"

#include "app/widgets/qt_dialog_service.h"

#include <QGuiApplication>

namespace vt {

namespace {

DialogService *&installed()
{
    static DialogService *service = nullptr;
    return service;
}

QString applicationCaption()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace

DialogService::~DialogService() = default;

void DialogService::information(QWidget *parent, const QString &text)
{
    showMessage(parent, applicationCaption(), text, MessageIcon::Information, MessageButtons::Ok);
}

void DialogService::error(QWidget *parent, const QString &text)
{
    showMessage(parent, applicationCaption(), text, MessageIcon::Error, MessageButtons::Ok);
}

bool DialogService::askYesNo(QWidget *parent, const QString &text)
{
    return showMessage(parent, applicationCaption(), text, MessageIcon::Question, MessageButtons::YesNo)
        == MessageAnswer::Yes;
}

bool DialogService::confirmDestructive(QWidget *parent, const QString &text)
{
    return showMessage(parent, applicationCaption(), text, MessageIcon::Warning, MessageButtons::YesNoDefaultNo)
        == MessageAnswer::Yes;
}

bool DialogService::askOkCancel(QWidget *parent, const QString &text)
{
    return showMessage(parent, applicationCaption(), text, MessageIcon::Question, MessageButtons::OkCancel)
        == MessageAnswer::Ok;
}

DialogService &DialogService::current()
{
    static QtDialogService real;
    return installed() ? *installed() : real;
}

DialogService *DialogService::install(DialogService *service)
{
    DialogService *previous = installed();
    installed() = service;
    return previous;
}

} // namespace vt
