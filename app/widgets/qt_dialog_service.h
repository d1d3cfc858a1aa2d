// The dialogs a user sees: Qt message boxes and Qt's own (skinned) file
// and folder dialogs.
#pragma once

#include "app/widgets/dialog_service.h"

namespace vt {

class QtDialogService : public DialogService {
public:
    MessageAnswer showMessage(QWidget *parent, const QString &caption, const QString &text,
                              MessageIcon icon, MessageButtons buttons) override;
    FileDialogResult openFiles(QWidget *parent, const FileDialogRequest &request) override;
    FileDialogResult saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder) override;
};

} // namespace vt
