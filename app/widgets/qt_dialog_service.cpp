#include "app/widgets/qt_dialog_service.h"

#include "app/widgets/file_filter.h"

#include <QDir>
#include <QFileDialog>

namespace vt {

namespace {

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

std::unique_ptr<TsuiMessageBox> createMessageBox(QWidget *parent, const QString &caption, const QString &text,
                                                 MessageIcon icon, MessageButtons buttons)
{
    return std::make_unique<TsuiMessageBox>(parent, caption, text, icon, buttons);
}

MessageAnswer QtDialogService::showMessage(QWidget *parent, const QString &caption, const QString &text,
                                           MessageIcon icon, MessageButtons buttons)
{
    std::unique_ptr<TsuiMessageBox> box = createMessageBox(parent, caption, text, icon, buttons);
    box->exec();
    return box->answer();
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
