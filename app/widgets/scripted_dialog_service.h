// A dialog service for tests: answers from queues filled beforehand and
// records every dialog that was shown, in order.
//
// With an empty queue the answer is the safe one: OK for an OK-only box,
// No / Cancel for a question, cancel for a file or folder dialog.
#pragma once

#include "app/widgets/dialog_service.h"

#include <deque>
#include <vector>

namespace vt {

class ScriptedDialogService : public DialogService {
public:
    enum class Kind { Message, OpenFiles, SaveFile, Folder };

    struct Shown {
        Kind kind;
        QString caption;
        QString text;                              // messages only
        MessageIcon icon = MessageIcon::Information; // messages only
        MessageButtons buttons = MessageButtons::Ok;  // messages only
        QString filter;                            // file dialogs only
        QString start;                             // initial file or folder
    };

    void answerMessage(MessageAnswer answer) { messageAnswers_.push_back(answer); }
    // files empty: the user cancels the dialog.
    void answerFiles(const QStringList &files, int filterIndex = 1);
    // folder empty: the user cancels the dialog.
    void answerFolder(const QString &folder) { folderAnswers_.push_back(folder); }

    const std::vector<Shown> &shown() const { return shown_; }
    // The texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    // Answers queued but not used yet.
    std::size_t unusedAnswers() const;
    void clear();

    MessageAnswer showMessage(QWidget *parent, const QString &caption, const QString &text,
                              MessageIcon icon, MessageButtons buttons) override;
    FileDialogResult openFiles(QWidget *parent, const FileDialogRequest &request) override;
    FileDialogResult saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &caption, const QString &startFolder) override;

private:
    FileDialogResult nextFiles(Kind kind, const FileDialogRequest &request);

    std::deque<MessageAnswer> messageAnswers_;
    std::deque<FileDialogResult> fileAnswers_;
    std::deque<QString> folderAnswers_;
    std::vector<Shown> shown_;
};

} // namespace vt
