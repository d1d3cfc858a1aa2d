#include "app/widgets/qt_dialog_service.h"

#include "app/widgets/file_filter.h"

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

FileDialogResult runFileDialog(QWidget *parent, const FileDialogRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.caption, request.initialFolder);
    // Qt's own dialog wears the skin; the desktop's would not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QStringList nameFilters = qtNameFilters(request.filter);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.value(request.filterIndex - 1, nameFilters.first()));
    }
    if (!request.initialFile.isEmpty())
        dialog.selectFile(request.initialFile);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.files = dialog.selectedFiles();
    result.filterIndex = nameFilters.isEmpty() ? 0 : filterIndexOf(request.filter, dialog.selectedNameFilter());
    return result;
}

} // namespace

MessageAnswer QtDialogService::showMessage(QWidget *parent, const QString &caption, const QString &text,
                                           MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(toQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: break;
    }
    // Closing a box with the window's close button answers its escape
    // button: OK for an information box.
    return buttons == MessageButtons::YesNo ? MessageAnswer::No
         : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
         : MessageAnswer::Ok;
}

FileDialogResult QtDialogService::openFiles(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

FileDialogResult QtDialogService::saveFile(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString QtDialogService::chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption,
                                             startFolder.isEmpty() ? QDir::homePath() : startFolder,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

} // namespace vt
