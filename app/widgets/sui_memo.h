// A multi-line text box drawn by the skin (the log boxes of the production
// windows: read-only, vertical scroll bar).
#pragma once

#include <QPlainTextEdit>

class TsuiMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TsuiMemo(QWidget *parent = nullptr);

    // Appends one line and scrolls it into view.
    void addLine(const QString &line);
    QStringList lines() const;
};
