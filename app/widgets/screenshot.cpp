#include "app/widgets/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QPixmap>
#include <QWidget>

namespace vt {

QString screenshotFolder()
{
    QString folder = qEnvironmentVariable("VANTOREL_SCREENSHOT_DIR");
    return folder.isEmpty() ? QStringLiteral(VANTOREL_SCREENSHOT_DIR) : folder;
}

QString saveScreenshot(QWidget *widget, const QString &name)
{
    QString folder = screenshotFolder();
    if (!QDir().mkpath(folder))
        return {};
    widget->ensurePolished();
    if (widget->layout())
        widget->layout()->activate();
    // Let pending layout and paint requests settle before rendering.
    QCoreApplication::processEvents();
    QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return widget->grab().save(file, "PNG") ? file : QString();
}

} // namespace vt
