// The dialogs a user sees: Qt message boxes and Qt's own (skinned) file
// and folder dialogs.
#pragma once

#include "app/widgets/dialog_service.h"

#include <memory>

class QMessageBox;

namespace vt {

// The message box showMessage runs: the icon, caption, text and buttons
// asked for, with the button captions of the application's language.
std::unique_ptr<QMessageBox> createMessageBox(QWidget *parent, const QString &caption, const QString &text,
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
