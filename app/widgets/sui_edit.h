// A one-line text box drawn by the skin, with a settable background colour
// (windows colour a box to flag a value as being edited or invalid) and
// signals for the keyboard focus arriving and leaving (windows check a
// value when the user leaves its box).
#pragma once

#include <QColor>
#include <QLineEdit>

class TsuiEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TsuiEdit(QWidget *parent = nullptr);

    // The background colour; an invalid colour returns to the skin's.
    void setColor(const QColor &color);
    const QColor &color() const { return color_; }

signals:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QColor color_;
};
