// The title bar of a skinned borderless window: icon, caption, minimise
// and close buttons. Dragging it moves the window it belongs to.
#pragma once

#include <QWidget>

class QLabel;
class TsuiImageButton;

class TsuiTitleBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 30;

    explicit TsuiTitleBar(QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const;
    TsuiImageButton *minimizeButton() const { return minimize_; }
    TsuiImageButton *closeButton() const { return close_; }

private:
    QLabel *icon_;
    QLabel *caption_;
    TsuiImageButton *minimize_;
    TsuiImageButton *close_;
};
