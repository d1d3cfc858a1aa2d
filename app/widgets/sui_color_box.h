// A drop-down list of colours, each shown with a swatch: the sixteen
// standard colours, plus the current colour when it is none of them.
#pragma once

#include <QColor>
#include <QComboBox>

class TsuiColorBox : public QComboBox {
    Q_OBJECT

public:
    explicit TsuiColorBox(QWidget *parent = nullptr);

    QColor color() const;
    // Selects color; a colour that is not listed gets a "Custom" entry
    // (one at most, replaced by the next custom colour).
    void setColor(const QColor &color);

signals:
    void colorChanged(const QColor &color);

private:
    int customIndex() const;
};
