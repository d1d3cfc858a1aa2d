// A read-only grid of text cells with a caption row; whole rows are
// selected. Data rows are numbered from 0 below the caption row.
#pragma once

#include <QTableWidget>

class TsuiStringGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit TsuiStringGrid(QWidget *parent = nullptr);

    // One column per caption.
    void setColumnCaptions(const QStringList &captions);
    void setColumnWidths(const QList<int> &widths);
    // Widens every column whose caption does not fit to the caption's
    // width, taking the width from the donor column.
    void fitCaptions(int donorColumn);
    void setRowHeight(int height);

    // Sets the text of a cell, growing the grid when row is past its end.
    void setCell(int column, int row, const QString &text);
    // The text of a cell, "" for an empty or missing one.
    QString cell(int column, int row) const;
    // The selected data row, or -1.
    int selectedRow() const;
};
