// The list-like controls: font-size and colour choosers, list box, string
// grid, memo and link label.
#include "app/widgets/desktop_opener.h"
#include "app/widgets/sui_color_box.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/sui_list_box.h"
#include "app/widgets/sui_memo.h"
#include "app/widgets/sui_string_grid.h"
#include "app/widgets/sui_url_label.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class ChoosersTest : public QObject {
    Q_OBJECT

private slots:
    void fontSizeComboShowsListedAndUnlistedSizes()
    {
        TsuiFontSizeComboBox sizes;
        QVERIFY(sizes.findText(QStringLiteral("12")) >= 0);
        QSignalSpy changed(&sizes, &TsuiFontSizeComboBox::fontSizeChanged);

        sizes.setFontSize(12);
        QCOMPARE(sizes.currentIndex(), sizes.findText(QStringLiteral("12")));
        QCOMPARE(sizes.fontSize(), 12);
        sizes.setFontSize(13);
        QCOMPARE(sizes.currentText(), QStringLiteral("13"));
        QCOMPARE(sizes.fontSize(), 13);
        QCOMPARE(changed.last().first().toInt(), 13);

        // The edit refuses what is not a size.
        sizes.lineEdit()->clear();
        QTest::keyClicks(sizes.lineEdit(), QStringLiteral("x1y4"));
        QCOMPARE(sizes.fontSize(), 14);
        sizes.setEditText(QString());
        QCOMPARE(sizes.fontSize(), 0);
    }

    void colourBoxSelectsStandardColoursAndKeepsOneCustomEntry()
    {
        TsuiColorBox colours;
        const int standard = colours.count();
        QCOMPARE(standard, 16);
        QSignalSpy changed(&colours, &TsuiColorBox::colorChanged);

        colours.setColor(QColor(0x00, 0x00, 0x80));
        QCOMPARE(colours.currentText(), QStringLiteral("Navy"));
        QCOMPARE(colours.color(), QColor(0x00, 0x00, 0x80));

        colours.setColor(QColor(0x12, 0x34, 0x56));
        QCOMPARE(colours.count(), standard + 1);
        QCOMPARE(colours.currentText(), QStringLiteral("Custom"));
        QCOMPARE(colours.color(), QColor(0x12, 0x34, 0x56));

        colours.setColor(QColor(0x65, 0x43, 0x21));
        QCOMPARE(colours.count(), standard + 1);
        QCOMPARE(colours.color(), QColor(0x65, 0x43, 0x21));
        QCOMPARE(changed.last().first().value<QColor>(), QColor(0x65, 0x43, 0x21));

        colours.setColor(Qt::white);
        QCOMPARE(colours.currentText(), QStringLiteral("White"));
    }

    void listBoxRowsHaveTheRowHeight()
    {
        TsuiListBox list;
        list.resize(120, 200);
        list.setItemHeight(16);
        list.setLines({QStringLiteral("00:00:00"), QStringLiteral("00:01:30")});
        list.show();
        QCOMPARE(list.lines(), QStringList({QStringLiteral("00:00:00"), QStringLiteral("00:01:30")}));
        QCOMPARE(list.visualItemRect(list.item(0)).height(), 16);
        list.setItemHeight(22);
        QCOMPARE(list.visualItemRect(list.item(1)).height(), 22);
    }

    void stringGridGrowsForCellsAndSelectsWholeRows()
    {
        TsuiStringGrid grid;
        grid.setColumnCaptions({QStringLiteral(" File Name"), QStringLiteral(" File Size (MB)")});
        grid.setColumnWidths({366, 80, 999});
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.columnWidth(0), 366);

        grid.setCell(1, 3, QStringLiteral("12.5"));
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.cell(1, 3), QStringLiteral("12.5"));
        QCOMPARE(grid.cell(0, 3), QString());
        QCOMPARE(grid.cell(5, 9), QString());
        grid.setCell(1, 3, QStringLiteral("13.0"));
        QCOMPARE(grid.cell(1, 3), QStringLiteral("13.0"));
        grid.setCell(-1, 0, QStringLiteral("ignored"));
        QCOMPARE(grid.columnCount(), 2);

        grid.setRowHeight(18);
        QCOMPARE(grid.rowHeight(2), 18);
        QCOMPARE(grid.selectedRow(), -1);
        grid.setCurrentCell(2, 0);
        QCOMPARE(grid.selectedRow(), 2);
        QCOMPARE(grid.selectedItems().size(), 0); // empty cells hold no items
        grid.setCell(0, 2, QStringLiteral("a.vob"));
        grid.setCell(1, 2, QStringLiteral("1.0"));
        grid.selectRow(2);
        QCOMPARE(grid.selectedItems().size(), 2);
    }

    void memoAppendsLines()
    {
        TsuiMemo memo;
        QVERIFY(memo.lines().isEmpty());
        memo.addLine(QStringLiteral("Converting >>>"));
        memo.addLine(QStringLiteral("<<< done"));
        QCOMPARE(memo.lines(), QStringList({QStringLiteral("Converting >>>"), QStringLiteral("<<< done")}));
    }

    void urlLabelOpensItsAddressOnClick()
    {
        QList<QUrl> opened;
        vt::DesktopOpener previous = vt::setDesktopOpener([&opened](const QUrl &url) { opened << url; return true; });
        TsuiURLLabel link;
        link.resize(120, 20);
        link.setText(QStringLiteral("home page"));

        QTest::mouseClick(&link, Qt::LeftButton);
        QVERIFY(opened.isEmpty()); // no address yet

        link.setURL(QStringLiteral("www.vantorel.example"));
        QTest::mouseClick(&link, Qt::LeftButton);
        QTest::mouseClick(&link, Qt::RightButton);
        QCOMPARE(opened, QList<QUrl>({QUrl(QStringLiteral("http://www.vantorel.example"))}));

        // No handler takes it: the label says so instead of "opened".
        vt::setDesktopOpener([](const QUrl &) { return false; });
        QSignalSpy success(&link, &TsuiURLLabel::opened);
        QSignalSpy failure(&link, &TsuiURLLabel::openFailed);
        QTest::mouseClick(&link, Qt::LeftButton);
        QCOMPARE(success.count(), 0);
        QCOMPARE(failure.count(), 1);
        QCOMPARE(failure.first().first().toUrl(), QUrl(QStringLiteral("http://www.vantorel.example")));
        vt::setDesktopOpener(previous);
    }
};

QTEST_MAIN(ChoosersTest)
#include "sui_choosers_test.moc"
