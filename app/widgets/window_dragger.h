// Moves a borderless window while the left button is held down on a handle
// widget (its title bar, or its background).
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vt {

class WindowDragger : public QObject {
    Q_OBJECT

public:
    // Drags handle->window(); owned by handle.
    explicit WindowDragger(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *handle_;
    QPoint offset_;
    bool dragging_ = false;
};

} // namespace vt
