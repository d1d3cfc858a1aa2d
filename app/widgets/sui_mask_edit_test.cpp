#include "app/widgets/sui_mask_edit.h"

#include <QSignalSpy>
#include <QTest>

class MaskEditTest : public QObject {
    Q_OBJECT

private slots:
    void typingIntoATimeBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("complete");

        QTest::newRow("full time") << "012345" << "01:23:45" << 5025 << true;
        QTest::newRow("letters refused") << "1a2b3c4d5e6f" << "12:34:56" << 45296 << true;
        QTest::newRow("minutes tens above 5 refused") << "0072" << "00:2_:__" << 1200 << false;
        QTest::newRow("seconds tens above 5 refused") << "000091" << "00:00:1_" << 10 << false;
        QTest::newRow("seventh digit refused") << "1234567" << "12:34:56" << 45296 << true;
        QTest::newRow("partial, blanks read as 0") << "1" << "1_:__:__" << 36000 << false;
        QTest::newRow("nothing typed") << "" << "__:__:__" << 0 << false;
    }

    void typingIntoATimeBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, seconds);
        QFETCH(bool, complete);

        TsuiMaskEdit box;
        box.setTimeMask();
        box.show();
        box.setFocus();
        box.setCursorPosition(0);
        QTest::keyClicks(&box, typed);
        QCOMPARE(box.displayText(), shown);
        QCOMPARE(box.timeSeconds(), seconds);
        QCOMPARE(box.hasAcceptableInput(), complete);
    }

    void settingAndClearingTimes()
    {
        TsuiMaskEdit box;
        box.setTimeMask();
        QCOMPARE(box.editMask(), TsuiMaskEdit::kTimeMask);

        box.setTimeSeconds(3 * 3600 + 7 * 60 + 9);
        QCOMPARE(box.text(), QStringLiteral("03:07:09"));
        QCOMPARE(box.timeSeconds(), 11229);

        box.setTimeSeconds(-5);
        QCOMPARE(box.text(), QStringLiteral("00:00:00"));
        box.setTimeSeconds(1000 * 3600);
        QCOMPARE(box.text(), QStringLiteral("99:59:59"));

        box.clearTime();
        QCOMPARE(box.displayText(), QStringLiteral("__:__:__"));
        QCOMPARE(box.timeSeconds(), 0);
        QVERIFY(!box.hasAcceptableInput());
    }

    void colourMarksTheBoxAndCanBeCleared()
    {
        TsuiMaskEdit box;
        box.setColor(QColor(0xFF, 0, 0));
        QCOMPARE(box.color(), QColor(0xFF, 0, 0));
        QImage red = box.grab().toImage();
        QCOMPARE(red.pixelColor(red.width() / 2, red.height() / 2), QColor(0xFF, 0, 0));

        box.setColor(QColor());
        QVERIFY(!box.color().isValid());
        QImage plain = box.grab().toImage();
        QVERIFY(plain.pixelColor(plain.width() / 2, plain.height() / 2) != QColor(0xFF, 0, 0));
    }

    void leavingTheBoxIsSignalled()
    {
        QWidget window;
        auto *start = new TsuiMaskEdit(&window);
        auto *stop = new TsuiMaskEdit(&window);
        start->setTimeMask();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        stop->setFocus();
        QSignalSpy entered(start, &TsuiEdit::entered);
        QSignalSpy exited(start, &TsuiEdit::exited);

        start->setFocus();
        QCOMPARE(entered.count(), 1);
        QCOMPARE(exited.count(), 0);
        stop->setFocus();
        QCOMPARE(exited.count(), 1);
        QCOMPARE(entered.count(), 1);
    }
};

QTEST_MAIN(MaskEditTest)
#include "sui_mask_edit_test.moc"
