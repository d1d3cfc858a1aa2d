#include "app/widgets/qt_dialog_service.h"

#include "app/widgets/file_filter.h"
#include "app/widgets/skin.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace vt {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

QString skinIconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning: return QStringLiteral("message_warning");
    case MessageIcon::Error: return QStringLiteral("message_error");
    case MessageIcon::Question: return QStringLiteral("message_question");
    case MessageIcon::Information: break;
    }
    return QStringLiteral("message_information");
}

FileDialogResult runFileDialog(QWidget *parent, const FileDialogRequest &request, FileDialogMode mode)
{
    std::unique_ptr<QFileDialog> dialog = createFileDialog(parent, request, mode);
    FileDialogResult result;
    if (dialog->exec() != QDialog::Accepted)
        return result;
    result.files = dialog->selectedFiles();
    if (!dialog->nameFilters().isEmpty())
        result.filterIndex = filterIndexOf(request.filter, dialog->selectedNameFilter());
    return result;
}

} // namespace

std::unique_ptr<QFileDialog> createFileDialog(QWidget *parent, const FileDialogRequest &request, FileDialogMode mode)
{
    QString start = request.initialFolder;
    if (mode == FileDialogMode::Folder && start.isEmpty())
        start = QDir::homePath();
    auto dialog = std::make_unique<QFileDialog>(parent, request.caption, start);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    switch (mode) {
    case FileDialogMode::Open:
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        break;
    case FileDialogMode::Save:
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        break;
    case FileDialogMode::Folder:
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        return dialog;
    }
    QStringList nameFilters = qtNameFilters(request.filter);
    if (!nameFilters.isEmpty()) {
        // Descriptions usually show their patterns already.
        dialog->setOption(QFileDialog::HideNameFilterDetails);
        dialog->setNameFilters(nameFilters);
        dialog->selectNameFilter(nameFilters.value(request.filterIndex - 1, nameFilters.first()));
    }
    if (!request.initialFile.isEmpty())
        dialog->selectFile(request.initialFile);
    return dialog;
}

std::unique_ptr<QMessageBox> createMessageBox(QWidget *parent, const QString &caption, const QString &text,
                                              MessageIcon icon, MessageButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(toQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
    QPixmap skinIcon = Skin::current().picture(skinIconName(icon));
    if (!skinIcon.isNull())
        box->setIconPixmap(skinIcon);
    switch (buttons) {
    case MessageButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case MessageButtons::YesNoDefaultNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        break;
    case MessageButtons::OkCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        break;
    }
    return box;
}

MessageAnswer QtDialogService::showMessage(QWidget *parent, const QString &caption, const QString &text,
                                           MessageIcon icon, MessageButtons buttons)
{
    std::unique_ptr<QMessageBox> box = createMessageBox(parent, caption, text, icon, buttons);
    switch (box->exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: break;
    }
    // Closing a box with the window's close button answers its escape
    // button: OK for an information box.
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo ? MessageAnswer::No
         : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
         : MessageAnswer::Ok;
}

FileDialogResult QtDialogService::openFiles(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, FileDialogMode::Open);
}

FileDialogResult QtDialogService::saveFile(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, FileDialogMode::Save);
}

QString QtDialogService::chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder)
{
    FileDialogRequest request;
    request.caption = caption;
    request.initialFolder = startFolder;
    return runFileDialog(parent, request, FileDialogMode::Folder).file();
}

} // namespace vt
