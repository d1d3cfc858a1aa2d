#include "app/widgets/file_filter.h"

#include <QTest>

class FileFilterTest : public QObject {
    Q_OBJECT

private slots:
    void pairsBecomeQtNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("description shows its own patterns")
            << "VOB File (*.vob,*.VOB)|*.vob" << QStringList{"VOB File (*.vob,*.VOB) (*.[vV][oO][bB])"};
        QTest::newRow("several patterns and pairs")
            << "JPG (*.jpg)|*.jpg|Video|*.avi;*.mpg; *.mp4" << QStringList{"JPG (*.jpg) (*.[jJ][pP][gG])", "Video (*.[aA][vV][iI] *.[mM][pP][gG] *.[mM][pP]4)"};
        QTest::newRow("trailing description without patterns")
            << "BMP|*.bmp|All" << QStringList{"BMP (*.[bB][mM][pP])"};
        QTest::newRow("pair with empty patterns dropped")
            << "None||Any|*.*" << QStringList{"Any (*.*)"};
    }

    void pairsBecomeQtNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(vt::qtNameFilters(filter), expected);
    }

    void indexOfAChosenFilterIsOneBased()
    {
        const QString filter = QStringLiteral("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
        QCOMPARE(vt::filterIndexOf(filter, QStringLiteral("JPG (*.jpg) (*.[jJ][pP][gG])")), 1);
        QCOMPARE(vt::filterIndexOf(filter, QStringLiteral("BMP (*.bmp) (*.[bB][mM][pP])")), 2);
        QCOMPARE(vt::filterIndexOf(filter, QStringLiteral("PNG (*.png)")), 0);
        // As reported by a dialog that hides the pattern lists.
        QCOMPARE(vt::filterIndexOf(filter, QStringLiteral("BMP (*.bmp)")), 2);
        QCOMPARE(vt::filterIndexOf(QStringLiteral("Video|*.avi|Video (all)|*.*"), QStringLiteral("Video")), 1);
        QCOMPARE(vt::filterIndexOf(filter, QStringLiteral("BMP")), 0);
    }
};

QTEST_MAIN(FileFilterTest)
#include "file_filter_test.moc"
