// The real dialogs, answered by a timer that acts as the user.
#include "app/widgets/qt_dialog_service.h"

#include "app/widgets/sui_form.h"
#include "app/widgets/test_skin.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs act on the modal dialog as soon as it is shown.
void whenModalShown(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
    });
}

} // namespace

class QtDialogServiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vt::applyTestSkin(); }

    void messageBoxesHaveTheAskedButtonsAndDefault_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions"); // left to right
        QTest::addColumn<QString>("defaultCaption");
        QTest::addColumn<int>("escapeAnswer");

        QTest::newRow("ok") << int(vt::MessageButtons::Ok) << QStringList{"OK"} << "OK" << int(vt::MessageAnswer::Ok);
        QTest::newRow("yes/no") << int(vt::MessageButtons::YesNo) << QStringList{"Yes", "No"} << "Yes"
                                << int(vt::MessageAnswer::No);
        // A question whose Yes loses work answers No to Enter.
        QTest::newRow("destructive") << int(vt::MessageButtons::YesNoDefaultNo) << QStringList{"Yes", "No"} << "No"
                                     << int(vt::MessageAnswer::No);
        QTest::newRow("ok/cancel") << int(vt::MessageButtons::OkCancel) << QStringList{"OK", "Cancel"} << "OK"
                                   << int(vt::MessageAnswer::Cancel);
    }

    void messageBoxesHaveTheAskedButtonsAndDefault()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QFETCH(QString, defaultCaption);
        QFETCH(int, escapeAnswer);

        std::unique_ptr<TsuiMessageBox> box = vt::createMessageBox(
            nullptr, QStringLiteral("Vantorel"), QStringLiteral("Sure?"), vt::MessageIcon::Question,
            vt::MessageButtons(buttons));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QList<QPushButton *> shown = box->findChildren<QPushButton *>();
        std::sort(shown.begin(), shown.end(), [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
        QStringList shownCaptions;
        for (QPushButton *button : shown)
            shownCaptions << button->text();
        QCOMPARE(shownCaptions, captions);
        QCOMPARE(box->defaultButton()->text(), defaultCaption);
        QVERIFY(box->defaultButton()->isDefault());
        QCOMPARE(QApplication::focusWidget(), box->defaultButton());
        QCOMPARE(int(box->escapeAnswer()), escapeAnswer);
        QCOMPARE(box->windowTitle(), QStringLiteral("Vantorel"));
        QVERIFY(box->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!box->iconLabel()->pixmap().isNull());
    }

    void theButtonTextsFollowTheLanguage()
    {
        const vt::MessageButtonTexts english = vt::messageButtonTexts();
        vt::MessageButtonTexts german;
        german.ok = QStringLiteral("OK");
        german.cancel = QStringLiteral("Abbrechen");
        german.yes = QStringLiteral("Ja");
        german.no = QStringLiteral("Nein");
        vt::setMessageButtonTexts(german);
        std::unique_ptr<TsuiMessageBox> question = vt::createMessageBox(
            nullptr, {}, QStringLiteral("?"), vt::MessageIcon::Question, vt::MessageButtons::YesNo);
        std::unique_ptr<TsuiMessageBox> okCancel = vt::createMessageBox(
            nullptr, {}, QStringLiteral("?"), vt::MessageIcon::Question, vt::MessageButtons::OkCancel);
        vt::setMessageButtonTexts(english);
        QCOMPARE(question->button(vt::MessageAnswer::Yes)->text(), QStringLiteral("Ja"));
        QCOMPARE(question->button(vt::MessageAnswer::No)->text(), QStringLiteral("Nein"));
        QCOMPARE(okCancel->button(vt::MessageAnswer::Cancel)->text(), QStringLiteral("Abbrechen"));
        QVERIFY(!question->button(vt::MessageAnswer::Cancel));
    }

    void longTextWrapsAndTheBoxStaysOnScreen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("long sentence") << QString("The conversion could not be started because ").repeated(12);
        QTest::newRow("long path") << "There is no program to open this with:\n/home/user/"
                                          + QString("a-very-long-folder-name/").repeated(20) + "PellornHelp.html";
        QTest::newRow("many lines") << QString("Line of a long log\n").repeated(200);
    }

    void longTextWrapsAndTheBoxStaysOnScreen()
    {
        QFETCH(QString, text);
        std::unique_ptr<TsuiMessageBox> box =
            vt::createMessageBox(nullptr, {}, text, vt::MessageIcon::Warning, vt::MessageButtons::Ok);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        const QRect screen = box->screen()->availableGeometry();
        QVERIFY2(screen.contains(box->frameGeometry()), qPrintable(QDebug::toString(box->frameGeometry())));
        QTextEdit *message = box->messageText();
        QVERIFY(message->width() <= TsuiMessageBox::kMaxTextWidth + message->verticalScrollBar()->sizeHint().width());
        // Nothing runs off to the side, and the whole text can be read:
        // it fits, or it scrolls.
        QCOMPARE(message->horizontalScrollBar()->maximum(), 0);
        const int textHeight = int(message->document()->size().height());
        QVERIFY(textHeight <= message->viewport()->height() || message->verticalScrollBar()->maximum() > 0);
        QCOMPARE(box->text(), text);
        QVERIFY(message->textInteractionFlags() & Qt::TextSelectableByMouse);
    }

    void boxesAreCentredOnTheirParentAndKeptOnScreen_data()
    {
        QTest::addColumn<QRect>("parent");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("centred") << QRect(100, 100, 600, 400) << QSize(200, 100) << QRect(300, 250, 200, 100);
        QTest::newRow("parent off the right") << QRect(1100, 100, 600, 400) << QSize(300, 100)
                                              << QRect(980, 250, 300, 100);
        QTest::newRow("parent above the top") << QRect(100, -300, 600, 400) << QSize(200, 200)
                                              << QRect(300, 0, 200, 200);
        QTest::newRow("no parent: screen centre") << QRect() << QSize(200, 100) << QRect(540, 462, 200, 100);
        QTest::newRow("taller than the screen") << QRect(100, 100, 600, 400) << QSize(200, 2000)
                                                << QRect(300, 0, 200, 2000);
    }

    void boxesAreCentredOnTheirParentAndKeptOnScreen()
    {
        QFETCH(QRect, parent);
        QFETCH(QSize, box);
        QFETCH(QRect, expected);
        QCOMPARE(vt::messageBoxGeometry(parent, box, QRect(0, 0, 1280, 1024)), expected);
    }

    void theBoxIsModalOverItsParent()
    {
        TsuiForm parent;
        parent.setGeometry(200, 150, 500, 400);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QRect shownAt;
        bool modal = false;
        whenModalShown([&](QWidget *box) {
            shownAt = box->frameGeometry();
            modal = box->isModal() && box->parentWidget() == &parent;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        vt::QtDialogService dialogs;
        QCOMPARE(dialogs.showMessage(&parent, {}, QStringLiteral("Discard?"), vt::MessageIcon::Warning,
                                     vt::MessageButtons::YesNoDefaultNo),
                 vt::MessageAnswer::No);
        QVERIFY(modal);
        QVERIFY(qAbs(shownAt.center().x() - parent.frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(shownAt.center().y() - parent.frameGeometry().center().y()) <= 1);
    }

    void showMessageReturnsTheAnswerOfTheKeyOrButton_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("action"); // button objectNames and keys, in order
        QTest::addColumn<int>("answer");

        QTest::newRow("yes clicked") << int(vt::MessageButtons::YesNo) << "yesButton" << int(vt::MessageAnswer::Yes);
        QTest::newRow("no clicked") << int(vt::MessageButtons::YesNo) << "noButton" << int(vt::MessageAnswer::No);
        QTest::newRow("cancel clicked") << int(vt::MessageButtons::OkCancel) << "cancelButton"
                                        << int(vt::MessageAnswer::Cancel);
        QTest::newRow("enter on yes/no") << int(vt::MessageButtons::YesNo) << "Enter" << int(vt::MessageAnswer::Yes);
        QTest::newRow("enter on destructive") << int(vt::MessageButtons::YesNoDefaultNo) << "Enter"
                                              << int(vt::MessageAnswer::No);
        QTest::newRow("enter on ok/cancel") << int(vt::MessageButtons::OkCancel) << "Enter" << int(vt::MessageAnswer::Ok);
        QTest::newRow("escape on yes/no") << int(vt::MessageButtons::YesNo) << "Escape" << int(vt::MessageAnswer::No);
        QTest::newRow("escape on ok/cancel") << int(vt::MessageButtons::OkCancel) << "Escape"
                                             << int(vt::MessageAnswer::Cancel);
        QTest::newRow("escape on ok") << int(vt::MessageButtons::Ok) << "Escape" << int(vt::MessageAnswer::Ok);
        QTest::newRow("title bar close") << int(vt::MessageButtons::YesNo) << "closeButton"
                                         << int(vt::MessageAnswer::No);
        // Back to the other button, then Enter presses the one with the focus.
        QTest::newRow("backtab then enter") << int(vt::MessageButtons::YesNoDefaultNo) << "Backtab Enter"
                                            << int(vt::MessageAnswer::Yes);
    }

    void showMessageReturnsTheAnswerOfTheKeyOrButton()
    {
        QFETCH(int, buttons);
        QFETCH(QString, action);
        QFETCH(int, answer);

        whenModalShown([action](QWidget *modal) {
            QVERIFY(qobject_cast<TsuiMessageBox *>(modal));
            // Keys go to the widget with the focus, as a user's would.
            QVERIFY(QTest::qWaitForWindowActive(modal));
            const std::pair<const char *, Qt::Key> keys[] = {
                {"Enter", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"Backtab", Qt::Key_Backtab}};
            for (const QString &step : action.split(' ')) {
                const auto key = std::find_if(std::begin(keys), std::end(keys),
                                              [&](const auto &k) { return step == QLatin1String(k.first); });
                if (key != std::end(keys)) {
                    QWidget *focus = QApplication::focusWidget();
                    QTest::keyClick(focus ? focus : modal, key->second);
                    continue;
                }
                auto *button = modal->findChild<QAbstractButton *>(step);
                QVERIFY2(button, qPrintable(step));
                button->click();
            }
        });
        vt::QtDialogService dialogs;
        vt::MessageAnswer got = dialogs.showMessage(nullptr, QStringLiteral("Vantorel"), QStringLiteral("Sure?"),
                                                    vt::MessageIcon::Question, vt::MessageButtons(buttons));
        QCOMPARE(int(got), answer);
    }

    void fileDialogsTakeTheFilterAndReportTheChosenOne()
    {
        QTemporaryDir dir;
        QFile clip(dir.filePath(QStringLiteral("clip.bmp")));
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.close();

        vt::FileDialogRequest request;
        request.caption = QStringLiteral("Save snapshot");
        request.filter = QStringLiteral("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
        request.filterIndex = 2;
        request.initialFolder = dir.path();
        std::unique_ptr<QFileDialog> save = vt::createFileDialog(nullptr, request, vt::FileDialogMode::Save);
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(save->nameFilters(), QStringList({QStringLiteral("JPG (*.jpg) (*.[jJ][pP][gG])"), QStringLiteral("BMP (*.bmp) (*.[bB][mM][pP])")}));
        QCOMPARE(save->selectedNameFilter(), QStringLiteral("BMP (*.bmp)"));
        QVERIFY(save->testOption(QFileDialog::DontUseNativeDialog));

        request.multiSelect = true;
        std::unique_ptr<QFileDialog> open = vt::createFileDialog(nullptr, request, vt::FileDialogMode::Open);
        QCOMPARE(open->fileMode(), QFileDialog::ExistingFiles);
        std::unique_ptr<QFileDialog> folder = vt::createFileDialog(nullptr, request, vt::FileDialogMode::Folder);
        QCOMPARE(folder->fileMode(), QFileDialog::Directory);
        QVERIFY(folder->testOption(QFileDialog::ShowDirsOnly));

        // The user picks the file and confirms.
        whenModalShown([path = clip.fileName()](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // the dialog's OK button
        });
        request.multiSelect = false;
        vt::QtDialogService dialogs;
        vt::FileDialogResult chosen = dialogs.openFiles(nullptr, request);
        QCOMPARE(chosen.files, QStringList({clip.fileName()}));
        QCOMPARE(chosen.filterIndex, 2);

        whenModalShown([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        QVERIFY(dialogs.chooseFolder(nullptr, QStringLiteral("Please selct output folder!"), dir.path()).isEmpty());
    }
};

QTEST_MAIN(QtDialogServiceTest)
#include "qt_dialog_service_test.moc"
