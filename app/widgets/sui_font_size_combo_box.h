// An editable drop-down list of font sizes in points.
#pragma once

#include <QComboBox>

class TsuiFontSizeComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TsuiFontSizeComboBox(QWidget *parent = nullptr);

    // The size shown, or 0 when the text is not a size.
    int fontSize() const;
    // Shows size, selecting its list entry when there is one.
    void setFontSize(int size);

signals:
    void fontSizeChanged(int size);
};
