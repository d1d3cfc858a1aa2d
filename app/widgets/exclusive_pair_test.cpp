#include "app/widgets/exclusive_pair.h"

#include "app/widgets/sui_check_box.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

class ExclusivePairTest : public QObject {
    Q_OBJECT

private slots:
    void clickingEitherBoxSetsThePartnerOpposite()
    {
        QWidget window;
        auto *ntsc = new TsuiCheckBox(&window);
        auto *pal = new TsuiCheckBox(&window);
        ntsc->setGeometry(0, 0, 80, 20);
        pal->setGeometry(0, 30, 80, 20);
        vt::ExclusivePair pair(ntsc, pal);
        QVERIFY(ntsc->isChecked());
        QVERIFY(!pal->isChecked());
        QSignalSpy chosen(&pair, &vt::ExclusivePair::chosen);

        QTest::mouseClick(pal, Qt::LeftButton, {}, QPoint(8, 10));
        QVERIFY(pal->isChecked());
        QVERIFY(!ntsc->isChecked());
        QVERIFY(!pair.firstChosen());

        // Clicking the checked box unchecks it and so checks its partner.
        QTest::mouseClick(pal, Qt::LeftButton, {}, QPoint(8, 10));
        QVERIFY(!pal->isChecked());
        QVERIFY(ntsc->isChecked());
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.last().first().value<TsuiCheckBox *>(), ntsc);

        QTest::mouseClick(ntsc, Qt::LeftButton, {}, QPoint(8, 10));
        QVERIFY(!ntsc->isChecked());
        QVERIFY(pal->isChecked());
    }

    void chooseAndSetFirstChosen()
    {
        TsuiCheckBox d5;
        TsuiCheckBox d9;
        TsuiCheckBox stranger;
        vt::ExclusivePair pair(&d5, &d9);
        QSignalSpy chosen(&pair, &vt::ExclusivePair::chosen);

        pair.choose(&d9);
        QVERIFY(d9.isChecked());
        QVERIFY(!d5.isChecked());
        pair.choose(&d9);
        QVERIFY(d9.isChecked());
        pair.choose(&stranger);
        QVERIFY(d9.isChecked());
        QCOMPARE(chosen.count(), 2);

        pair.setFirstChosen(true);
        QVERIFY(d5.isChecked());
        QVERIFY(!d9.isChecked());
    }

    void constructionLeavesExactlyOneBoxChecked()
    {
        struct Case {
            bool first, second, expectFirst;
        };
        const Case cases[] = {{false, false, true}, {true, true, true}, {false, true, false}, {true, false, true}};
        for (const Case &c : cases) {
            TsuiCheckBox a;
            TsuiCheckBox b;
            a.setChecked(c.first);
            b.setChecked(c.second);
            vt::ExclusivePair pair(&a, &b);
            QCOMPARE(a.isChecked(), c.expectFirst);
            QCOMPARE(b.isChecked(), !c.expectFirst);
        }
    }
};

QTEST_MAIN(ExclusivePairTest)
#include "exclusive_pair_test.moc"
