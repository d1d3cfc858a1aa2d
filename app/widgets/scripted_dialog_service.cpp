#include "app/widgets/scripted_dialog_service.h"

namespace vt {

void ScriptedDialogService::answerFiles(const QStringList &files, int filterIndex)
{
    FileDialogResult result;
    result.files = files;
    result.filterIndex = files.isEmpty() ? 0 : filterIndex;
    fileAnswers_.push_back(result);
}

QStringList ScriptedDialogService::messageTexts() const
{
    QStringList texts;
    for (const Shown &dialog : shown_) {
        if (dialog.kind == Kind::Message)
            texts << dialog.text;
    }
    return texts;
}

std::size_t ScriptedDialogService::unusedAnswers() const
{
    return messageAnswers_.size() + fileAnswers_.size() + folderAnswers_.size();
}

void ScriptedDialogService::clear()
{
    messageAnswers_.clear();
    fileAnswers_.clear();
    folderAnswers_.clear();
    shown_.clear();
}

MessageAnswer ScriptedDialogService::showMessage(QWidget *, const QString &caption, const QString &text,
                                                 MessageIcon icon, MessageButtons buttons)
{
    shown_.push_back({Kind::Message, caption, text, icon, buttons, {}, {}});
    if (!messageAnswers_.empty()) {
        MessageAnswer answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo: return MessageAnswer::No;
    case MessageButtons::OkCancel: return MessageAnswer::Cancel;
    case MessageButtons::Ok: break;
    }
    return MessageAnswer::Ok;
}

FileDialogResult ScriptedDialogService::nextFiles(Kind kind, const FileDialogRequest &request)
{
    Shown dialog{kind, request.caption, {}, MessageIcon::Information, MessageButtons::Ok, request.filter, {}};
    dialog.start = request.initialFile.isEmpty() ? request.initialFolder : request.initialFile;
    shown_.push_back(dialog);
    if (fileAnswers_.empty())
        return {};
    FileDialogResult answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (!request.multiSelect && answer.files.size() > 1)
        answer.files = answer.files.mid(0, 1);
    return answer;
}

FileDialogResult ScriptedDialogService::openFiles(QWidget *, const FileDialogRequest &request)
{
    return nextFiles(Kind::OpenFiles, request);
}

FileDialogResult ScriptedDialogService::saveFile(QWidget *, const FileDialogRequest &request)
{
    return nextFiles(Kind::SaveFile, request);
}

QString ScriptedDialogService::chooseFolder(QWidget *, const QString &caption, const QString &startFolder)
{
    shown_.push_back({Kind::Folder, caption, {}, MessageIcon::Information, MessageButtons::Ok, {}, startFolder});
    if (folderAnswers_.empty())
        return {};
    QString answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    return answer;
}

} // namespace vt
