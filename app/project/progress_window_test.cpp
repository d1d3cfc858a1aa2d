// The progress window: title from the text table, steps moving the bar and
// the percentage, and no closing by the user.
#include "app/project/progress_window.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/window_test_controls.h"

#include <QTest>

using vt::testing::control;

class ProgressWindowTest : public QObject {
    Q_OBJECT

private slots:
    void stepsMoveTheBarAndThePercentage()
    {
        vt::common::TestProgramFolder folder;
        TProgressWindow w;
        w.start(3, 50);
        QVERIFY(w.isVisible());
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(control<TLabel>(&w, "Label_Text")->text(), QStringLiteral("Adding Clip(s)"));
        QCOMPARE(control<QWidget>(&w, "Image_Progress")->width(), 0);
        w.setInfo(QStringLiteral("holiday.avi"));
        w.step();
        QCOMPARE(control<TLabel>(&w, "Label_Text_Info")->text(), QStringLiteral("holiday.avi"));
        QCOMPARE(control<TLabel>(&w, "Label_Percent")->text(), QStringLiteral("33 %"));
        QCOMPARE(control<QWidget>(&w, "Image_Progress")->width(), 85);
        w.step();
        w.step();
        QCOMPARE(control<TLabel>(&w, "Label_Percent")->text(), QStringLiteral("100 %"));
        QCOMPARE(control<QWidget>(&w, "Image_Progress")->width(), 258);

        // The user cannot close it; its creator destroys it.
        w.close();
        QVERIFY(w.isVisible());
    }

    void screenshot()
    {
        vt::common::TestProgramFolder folder;
        TProgressWindow w;
        w.start(5, 50);
        w.setInfo(QStringLiteral("birthday.mpg"));
        w.step();
        w.step();
        w.step();
        QVERIFY(!vt::saveScreenshot(&w, QStringLiteral("ProgressWindow")).isEmpty());
    }
};

QTEST_MAIN(ProgressWindowTest)
#include "progress_window_test.moc"
