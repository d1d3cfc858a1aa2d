// The real dialogs, answered by a timer that acts as the user.
#include "app/widgets/qt_dialog_service.h"

#include "app/widgets/test_skin.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    void messageBoxesHaveTheAskedButtonsAndTheSkinIcon()
    {
        std::unique_ptr<QMessageBox> question = vt::createMessageBox(
            nullptr, QStringLiteral("Vantorel"), QStringLiteral("Erase?"), vt::MessageIcon::Question,
            vt::MessageButtons::YesNo);
        QCOMPARE(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));
        QCOMPARE(question->windowTitle(), QStringLiteral("Vantorel"));
        QVERIFY(!question->iconPixmap().isNull());

        // A question whose Yes loses work answers No to Enter.
        std::unique_ptr<QMessageBox> destructive = vt::createMessageBox(
            nullptr, QStringLiteral("Vantorel"), QStringLiteral("Discard?"), vt::MessageIcon::Warning,
            vt::MessageButtons::YesNoDefaultNo);
        QCOMPARE(destructive->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(destructive->defaultButton(), destructive->button(QMessageBox::No));

        std::unique_ptr<QMessageBox> info = vt::createMessageBox(
            nullptr, {}, QStringLiteral("Add OK!"), vt::MessageIcon::Information, vt::MessageButtons::Ok);
        QCOMPARE(info->standardButtons(), QMessageBox::Ok);
        QCOMPARE(info->text(), QStringLiteral("Add OK!"));
    }

    void showMessageReturnsTheButtonTheUserPressed_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("pressed"); // a QMessageBox::StandardButton, or 0 for Escape
        QTest::addColumn<int>("answer");

        QTest::newRow("yes") << int(vt::MessageButtons::YesNo) << int(QMessageBox::Yes) << int(vt::MessageAnswer::Yes);
        QTest::newRow("no") << int(vt::MessageButtons::YesNo) << int(QMessageBox::No) << int(vt::MessageAnswer::No);
        QTest::newRow("cancel") << int(vt::MessageButtons::OkCancel) << int(QMessageBox::Cancel)
                                << int(vt::MessageAnswer::Cancel);
        QTest::newRow("escape on ok/cancel") << int(vt::MessageButtons::OkCancel) << 0 << int(vt::MessageAnswer::Cancel);
        QTest::newRow("escape on ok") << int(vt::MessageButtons::Ok) << 0 << int(vt::MessageAnswer::Ok);
    }

    void showMessageReturnsTheButtonTheUserPressed()
    {
        QFETCH(int, buttons);
        QFETCH(int, pressed);
        QFETCH(int, answer);

        whenModalShown([pressed](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            if (pressed == 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(pressed))->click();
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
