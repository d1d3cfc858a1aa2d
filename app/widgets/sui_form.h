// A skinned borderless window: its own title bar (drag to move, minimise,
// close) over a client area that holds the window's controls at their
// pixel positions.
#pragma once

#include <QDialog>

class TsuiTitleBar;

class TsuiForm : public QDialog {
    Q_OBJECT

public:
    // Width of the frame around the title bar and client area.
    static constexpr int kBorder = 1;

    explicit TsuiForm(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Dialog);

    // The controls' parent; positions are client coordinates.
    QWidget *client() const { return client_; }
    TsuiTitleBar *titleBar() const { return titleBar_; }

    // A window that draws its own caption buttons hides the bar; the
    // window shrinks around the client area at once.
    void setTitleBarVisible(bool visible);

    // Lets the window be dragged by its client area's background too (for
    // windows without a title bar).
    void setDragByClient(bool enabled);

    // Fixes the client area's size; the window is sized around it and
    // cannot be resized by the user.
    void setClientSize(int width, int height);

protected:
    void changeEvent(QEvent *event) override;

private:
    TsuiTitleBar *titleBar_;
    QWidget *client_;
    QObject *clientDragger_ = nullptr;
};
