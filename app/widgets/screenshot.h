// Renders a widget into build/screenshots/NAME.png for the screenshot
// tests of the windows.
#pragma once

#include <QString>

class QWidget;

namespace vt {

// $VANTOREL_SCREENSHOT_DIR when set, else the build tree's screenshots/.
QString screenshotFolder();

// Lays the widget out, renders it (QWidget::grab) and writes
// screenshotFolder() + "/" + name + ".png". Returns the file written, or
// "" when it could not be written.
QString saveScreenshot(QWidget *widget, const QString &name);

} // namespace vt
