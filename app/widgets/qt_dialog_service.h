// The dialogs a user sees: the skinned message boxes (sui_message_box.h)
// and Qt's own (skinned) file and folder dialogs.
#pragma once

#include "app/widgets/dialog_service.h"
#include "app/widgets/sui_message_box.h"

#include <memory>

class QFileDialog;

namespace vt {

enum class FileDialogMode { Open, Save, Folder };

// The file or folder dialog openFiles, saveFile and chooseFolder run: Qt's
// own dialog (it wears the skin; the desktop's would not), set up from
// the request.
std::unique_ptr<QFileDialog> createFileDialog(QWidget *parent, const FileDialogRequest &request, FileDialogMode mode);

// The message box showMessage runs: the icon, caption, text and buttons
// asked for, with the button captions of the UI language.
std::unique_ptr<TsuiMessageBox> createMessageBox(QWidget *parent, const QString &caption, const QString &text,
                                                 MessageIcon icon, MessageButtons buttons);

class QtDialogService : public DialogService {
public:
    MessageAnswer showMessage(QWidget *parent, const QString &caption, const QString &text,
                              MessageIcon icon, MessageButtons buttons) override;
    FileDialogResult openFiles(QWidget *parent, const FileDialogRequest &request) override;
    FileDialogResult saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder) override;
};

} // namespace vt
