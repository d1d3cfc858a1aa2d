// A list of text rows drawn by the skin, with a fixed row height.
#pragma once

#include <QListWidget>

class TsuiListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TsuiListBox(QWidget *parent = nullptr);

    // Height of every row in pixels (rows added later get it too).
    void setItemHeight(int height);
    int itemHeight() const { return itemHeight_; }

    // Replaces the rows with lines.
    void setLines(const QStringList &lines);
    QStringList lines() const;

private:
    int itemHeight_ = 18;
};
