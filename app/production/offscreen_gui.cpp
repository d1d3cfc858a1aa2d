#include "app/production/offscreen_gui.h"

#include <QGuiApplication>

namespace vt::production {

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vantorel";
    static char *argv[] = {name, nullptr};
    // Lives until the process ends.
    new QGuiApplication(argc, argv);
}

} // namespace vt::production
