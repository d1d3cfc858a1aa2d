// The chapter window over a clip: the even split it starts from, the
// automatic split list, insert / modify / delete with their messages, and
// the OK and Cancel paths.
#include "app/project/clip_record.h"
#include "app/project/setup_chapter_window.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_list_box.h"
#include "app/widgets/sui_spin_edit.h"
#include "app/widgets/window_test_controls.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using vt::testing::control;
using vt::testing::click;

namespace {

vt::project::ClipRecord clipOf(int start, int end)
{
    vt::project::ClipRecord clip;
    clip.duration = end;
    clip.start = start;
    clip.end = end;
    return clip;
}

void type(QWidget *window, int hours, int minutes, int seconds)
{
    control<TsuiSpinEdit>(window, "suiSpinEdit_Hour")->setValue(hours);
    control<TsuiSpinEdit>(window, "suiSpinEdit_Min")->setValue(minutes);
    control<TsuiSpinEdit>(window, "suiSpinEdit_Sec")->setValue(seconds);
}


} // namespace

class SetupChapterWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;
    vt::ScriptedDialogService dialogs;

private slots:
    void init()
    {
        folder = std::make_unique<vt::common::TestProgramFolder>();
        dialogs.clear();
    }
    void cleanup() { folder.reset(); }

    void aClipWithoutChaptersStartsWithOnePerFiveMinutes()
    {
        TSetupChapterWindow w;
        QVERIFY(!w.prepare(nullptr));
        const vt::project::ClipRecord clip = clipOf(100, 1600);  // 25 minutes
        QVERIFY(w.prepare(&clip));
        auto *list = control<TsuiListBox>(&w, "suiListBox_Time");
        QCOMPARE(list->lines(),
                 QStringList({"00:01:40", "00:06:40", "00:11:40", "00:16:40", "00:21:40"}));
        QCOMPARE(list->itemHeight(), 16);
        QCOMPARE(list->currentRow(), 0);
        auto *autoSplit = control<TsuiComboBox>(&w, "suiComboBox_Auto");
        QCOMPARE(autoSplit->count(), 5);
        QCOMPARE(autoSplit->itemText(0), QStringLiteral("2"));
        QCOMPARE(autoSplit->currentText(), QStringLiteral("5"));
        QCOMPARE(control<TsuiSpinEdit>(&w, "suiSpinEdit_Min")->value(), 1);
        QCOMPARE(control<TsuiSpinEdit>(&w, "suiSpinEdit_Sec")->value(), 40);

        // Clicking a row puts its time into the spin boxes.
        list->setCurrentRow(2);
        QCOMPARE(control<TsuiSpinEdit>(&w, "suiSpinEdit_Min")->value(), 11);
        // The automatic split: "3" gives three even chapters.
        autoSplit->setCurrentIndex(1);
        emit autoSplit->activated(1);
        QCOMPARE(list->lines(), QStringList({"00:01:40", "00:10:00", "00:18:20"}));
    }

    void editsReportTheirRefusals()
    {
        vt::ScopedDialogService scoped(dialogs);
        TSetupChapterWindow w;
        const vt::project::ClipRecord clip = clipOf(0, 90);
        w.prepare(&clip);
        auto *list = control<TsuiListBox>(&w, "suiListBox_Time");
        QCOMPARE(list->lines(), QStringList({"00:00:00", "00:00:45"}));

        type(&w, 0, 1, 30);  // the clip's end: a chapter there would be empty
        click(&w, "suiButton_Insert");
        type(&w, 0, 0, 45);
        click(&w, "suiButton_Insert");
        list->setCurrentRow(0);
        type(&w, 0, 0, 10);
        click(&w, "suiButton_Modify");
        click(&w, "suiButton_Delete");
        QCOMPARE(dialogs.messageTexts(),
                 QStringList({"Excceeding chapter time input, please check it out!", "Equivalent chapter time input!",
                              "Can not modify chapter start point!",
                              "Can not delete chapter 1"}));
        QCOMPARE(list->lines(), QStringList({"00:00:00", "00:00:45"}));

        type(&w, 0, 0, 20);
        click(&w, "suiButton_Insert");
        QCOMPARE(list->lines(), QStringList({"00:00:00", "00:00:20", "00:00:45"}));
        list->setCurrentRow(2);
        type(&w, 0, 1, 0);
        click(&w, "suiButton_Modify");
        QCOMPARE(list->lines(), QStringList({"00:00:00", "00:00:20", "00:01:00"}));
        QCOMPARE(list->currentRow(), 2);
        list->setCurrentRow(1);
        click(&w, "suiButton_Delete");
        QCOMPARE(list->lines(), QStringList({"00:00:00", "00:01:00"}));
        QCOMPARE(w.times(), (std::vector<int32_t> {0, 60}));

        dialogs.clear();
        const vt::project::ClipRecord shortClip = clipOf(0, 40);
        w.prepare(&shortClip);
        type(&w, 0, 0, 30);
        click(&w, "suiButton_Insert");
        QCOMPARE(dialogs.messageTexts(),
                 QStringList({"To add chapter, the clip duration must larger than one minute!"}));
    }

    void okAndCancelClose()
    {
        TSetupChapterWindow w;
        const vt::project::ClipRecord clip = clipOf(0, 600);
        w.prepare(&clip);
        for (auto [button, result] : {std::pair {"suiImageButton2", QDialog::Accepted},
                                      std::pair {"suiImageButton1", QDialog::Rejected}}) {
            QTimer::singleShot(0, [&, button = button] { click(&w, button); });
            QCOMPARE(w.exec(), result);
        }
        QCOMPARE(w.times(), (std::vector<int32_t> {0, 300}));
    }

    void screenshot()
    {
        TSetupChapterWindow w;
        const vt::project::ClipRecord clip = clipOf(0, 1500);
        w.prepare(&clip);
        control<TsuiListBox>(&w, "suiListBox_Time")->setCurrentRow(2);
        w.show();
        QVERIFY(!vt::saveScreenshot(&w, QStringLiteral("SetupChapterWindow")).isEmpty());
    }
};

QTEST_MAIN(SetupChapterWindowTest)
#include "setup_chapter_window_test.moc"
