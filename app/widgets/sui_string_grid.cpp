#include "app/widgets/sui_string_grid.h"

#include <QHeaderView>

#include <algorithm>

TsuiStringGrid::TsuiStringGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);  // a long path keeps its file name in view
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
    setRowHeight(18);
}

void TsuiStringGrid::setColumnCaptions(const QStringList &captions)
{
    setColumnCount(captions.size());
    setHorizontalHeaderLabels(captions);
}

void TsuiStringGrid::setColumnWidths(const QList<int> &widths)
{
    for (int column = 0; column < widths.size() && column < columnCount(); ++column)
        setColumnWidth(column, widths[column]);
}

void TsuiStringGrid::fitCaptions(int donorColumn)
{
    int taken = 0;
    for (int column = 0; column < columnCount(); ++column) {
        const int needed = horizontalHeader()->sectionSizeHint(column);
        if (column != donorColumn && needed > columnWidth(column)) {
            taken += needed - columnWidth(column);
            setColumnWidth(column, needed);
        }
    }
    if (donorColumn >= 0 && donorColumn < columnCount())
        setColumnWidth(donorColumn, std::max(horizontalHeader()->sectionSizeHint(donorColumn),
                                             columnWidth(donorColumn) - taken));
}

void TsuiStringGrid::setRowHeight(int height)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void TsuiStringGrid::setCell(int column, int row, const QString &text)
{
    if (column < 0 || row < 0)
        return;
    if (column >= columnCount())
        setColumnCount(column + 1);
    if (row >= rowCount())
        setRowCount(row + 1);
    if (QTableWidgetItem *existing = item(row, column))
        existing->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

QString TsuiStringGrid::cell(int column, int row) const
{
    const QTableWidgetItem *cellItem = item(row, column);
    return cellItem ? cellItem->text() : QString();
}

int TsuiStringGrid::selectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}
