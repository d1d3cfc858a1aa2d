// The one way windows show message boxes and file and folder dialogs, so
// that tests can answer them and read what the user would have seen.
// QtDialogService shows real dialogs; ScriptedDialogService answers from
// queues and records every dialog.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vt {

enum class MessageIcon { Information, Warning, Error, Question };
// YesNoDefaultNo: a question whose "Yes" loses something; Enter answers "No".
enum class MessageButtons { Ok, YesNo, OkCancel, YesNoDefaultNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString caption;
    // Description and pattern pairs separated by '|' (see file_filter.h).
    QString filter;
    // 1-based index of the filter chosen at start.
    int filterIndex = 1;
    QString initialFolder;
    QString initialFile;
    bool multiSelect = false;
};

struct FileDialogResult {
    // Chosen files; empty when the user cancelled.
    QStringList files;
    // 1-based index of the filter chosen when the user confirmed, or 0.
    int filterIndex = 0;

    bool accepted() const { return !files.isEmpty(); }
    QString file() const { return files.value(0); }
};

class DialogService {
public:
    virtual ~DialogService();

    virtual MessageAnswer showMessage(QWidget *parent, const QString &caption, const QString &text,
                                      MessageIcon icon, MessageButtons buttons) = 0;
    virtual FileDialogResult openFiles(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual FileDialogResult saveFile(QWidget *parent, const FileDialogRequest &request) = 0;
    // The chosen folder, or "" when the user cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder) = 0;

    // The common boxes, captioned with the application's display name.
    void information(QWidget *parent, const QString &text);
    void error(QWidget *parent, const QString &text);
    bool askYesNo(QWidget *parent, const QString &text);
    // A Yes/No question whose "Yes" throws work away; "No" is the default.
    bool confirmDestructive(QWidget *parent, const QString &text);
    bool askOkCancel(QWidget *parent, const QString &text);

    // The service the windows use: the one installed last, else a
    // QtDialogService.
    static DialogService &current();
    // Makes service current (nullptr: back to the real dialogs) and
    // returns the one it replaces. The caller keeps ownership.
    static DialogService *install(DialogService *service);
};

// Installs a service for the life of a scope (tests).
class ScopedDialogService {
public:
    explicit ScopedDialogService(DialogService &service)
        : previous_(DialogService::install(&service))
    {
    }
    ~ScopedDialogService() { DialogService::install(previous_); }
    ScopedDialogService(const ScopedDialogService &) = delete;
    ScopedDialogService &operator=(const ScopedDialogService &) = delete;

private:
    DialogService *previous_;
};

} // namespace vt
