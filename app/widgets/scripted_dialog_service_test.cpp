#include "app/widgets/scripted_dialog_service.h"

#include <QGuiApplication>
#include <QTest>

using vt::DialogService;
using vt::MessageAnswer;
using vt::MessageButtons;
using vt::MessageIcon;
using vt::ScriptedDialogService;

class ScriptedDialogServiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantorel")); }

    void recordsMessagesAndAnswersFromTheQueue()
    {
        ScriptedDialogService dialogs;
        dialogs.answerMessage(MessageAnswer::Yes);
        dialogs.answerMessage(MessageAnswer::Cancel);

        QCOMPARE(dialogs.showMessage(nullptr, QStringLiteral("Burn"), QStringLiteral("Erase the disc?"),
                                     MessageIcon::Question, MessageButtons::YesNo),
                 MessageAnswer::Yes);
        QVERIFY(!dialogs.askOkCancel(nullptr, QStringLiteral("Continue?")));
        dialogs.error(nullptr, QStringLiteral("Cannot load the converter library!"));

        QCOMPARE(dialogs.unusedAnswers(), std::size_t(0));
        QCOMPARE(dialogs.messageTexts(), QStringList({QStringLiteral("Erase the disc?"), QStringLiteral("Continue?"),
                                                      QStringLiteral("Cannot load the converter library!")}));
        const auto &shown = dialogs.shown();
        QCOMPARE(shown.size(), std::size_t(3));
        QCOMPARE(shown[0].caption, QStringLiteral("Burn"));
        QVERIFY(shown[0].buttons == MessageButtons::YesNo);
        QCOMPARE(shown[1].caption, QStringLiteral("Vantorel"));
        QVERIFY(shown[1].buttons == MessageButtons::OkCancel);
        QVERIFY(shown[2].icon == MessageIcon::Error);
        QVERIFY(shown[2].buttons == MessageButtons::Ok);
    }

    void emptyQueueGivesTheSafeAnswer()
    {
        ScriptedDialogService dialogs;
        QVERIFY(!dialogs.askYesNo(nullptr, QStringLiteral("Delete?")));
        QVERIFY(!dialogs.askOkCancel(nullptr, QStringLiteral("Go on?")));
        QCOMPARE(dialogs.showMessage(nullptr, {}, QStringLiteral("Add OK!"), MessageIcon::Information,
                                     MessageButtons::Ok),
                 MessageAnswer::Ok);
        QVERIFY(!dialogs.openFiles(nullptr, {}).accepted());
        QVERIFY(dialogs.chooseFolder(nullptr, QStringLiteral("Please selct output folder!"), {}).isEmpty());
        QCOMPARE(dialogs.shown().size(), std::size_t(5));
    }

    void fileAndFolderDialogsAnswerInOrderAndRecordTheirRequest()
    {
        ScriptedDialogService dialogs;
        dialogs.answerFiles({QStringLiteral("/v/a.avi"), QStringLiteral("/v/b.avi")});
        dialogs.answerFiles({QStringLiteral("/v/c.avi"), QStringLiteral("/v/d.avi")});
        dialogs.answerFiles({QStringLiteral("/shots/frame")}, 2);
        dialogs.answerFiles({});
        dialogs.answerFolder(QStringLiteral("/home/user/DVD"));

        vt::FileDialogRequest open;
        open.caption = QStringLiteral("Add clips");
        open.filter = QStringLiteral("Video|*.avi;*.mpg");
        open.multiSelect = true;
        QCOMPARE(dialogs.openFiles(nullptr, open).files.size(), 2);
        open.multiSelect = false;
        QCOMPARE(dialogs.openFiles(nullptr, open).files, QStringList({QStringLiteral("/v/c.avi")}));

        vt::FileDialogRequest save;
        save.filter = QStringLiteral("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
        save.initialFile = QStringLiteral("snapshot");
        vt::FileDialogResult saved = dialogs.saveFile(nullptr, save);
        QCOMPARE(saved.file(), QStringLiteral("/shots/frame"));
        QCOMPARE(saved.filterIndex, 2);
        vt::FileDialogResult cancelled = dialogs.saveFile(nullptr, save);
        QVERIFY(!cancelled.accepted());
        QCOMPARE(cancelled.filterIndex, 0);

        QCOMPARE(dialogs.chooseFolder(nullptr, QStringLiteral("Please selct output folder!"), QStringLiteral("/")),
                 QStringLiteral("/home/user/DVD"));

        const auto &shown = dialogs.shown();
        QCOMPARE(shown.size(), std::size_t(5));
        QVERIFY(shown[0].kind == ScriptedDialogService::Kind::OpenFiles);
        QCOMPARE(shown[0].caption, QStringLiteral("Add clips"));
        QCOMPARE(shown[0].filter, QStringLiteral("Video|*.avi;*.mpg"));
        QVERIFY(shown[2].kind == ScriptedDialogService::Kind::SaveFile);
        QCOMPARE(shown[2].start, QStringLiteral("snapshot"));
        QVERIFY(shown[4].kind == ScriptedDialogService::Kind::Folder);
        QCOMPARE(shown[4].caption, QStringLiteral("Please selct output folder!"));
        QCOMPARE(shown[4].start, QStringLiteral("/"));
        QVERIFY(dialogs.messageTexts().isEmpty());
    }

    void installedServiceIsTheCurrentOneForItsScope()
    {
        DialogService *real = &DialogService::current();
        ScriptedDialogService outer;
        {
            vt::ScopedDialogService scope(outer);
            QCOMPARE(&DialogService::current(), static_cast<DialogService *>(&outer));
            ScriptedDialogService inner;
            {
                vt::ScopedDialogService nested(inner);
                DialogService::current().information(nullptr, QStringLiteral("Add OK!"));
            }
            QCOMPARE(&DialogService::current(), static_cast<DialogService *>(&outer));
            QCOMPARE(inner.messageTexts(), QStringList({QStringLiteral("Add OK!")}));
            QVERIFY(outer.shown().empty());
        }
        QCOMPARE(&DialogService::current(), real);
    }

    void clearForgetsAnswersAndRecord()
    {
        ScriptedDialogService dialogs;
        dialogs.answerMessage(MessageAnswer::Yes);
        dialogs.answerFolder(QStringLiteral("/tmp"));
        dialogs.information(nullptr, QStringLiteral("x"));
        dialogs.clear();
        QCOMPARE(dialogs.unusedAnswers(), std::size_t(0));
        QVERIFY(dialogs.shown().empty());
    }
};

QTEST_MAIN(ScriptedDialogServiceTest)
#include "scripted_dialog_service_test.moc"
