// Creating a window's control at its pixel position, under its control name.
#pragma once

#include <QWidget>

namespace vt {

template <typename Control>
Control *placeControl(QWidget *parent, const char *name, int x, int y, int width, int height)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(x, y, width, height);
    return control;
}

} // namespace vt
