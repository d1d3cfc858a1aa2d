// Finding and clicking a window's controls by name, for the window tests.
#pragma once

#include "app/widgets/sui_check_box.h"

#include <QTest>
#include <QWidget>

namespace vt::testing {

// The window's control of that objectName; the test stops when there is none.
template <typename W>
W *control(QWidget *window, const char *name)
{
    W *found = window->findChild<W *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Clicks a control like a user; a check box is clicked on its box.
inline void click(QWidget *window, const char *name)
{
    QWidget *widget = control<QWidget>(window, name);
    const QPoint at = qobject_cast<TsuiCheckBox *>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace vt::testing
