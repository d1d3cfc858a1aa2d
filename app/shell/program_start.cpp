#include "app/shell/program_start.h"

#include "app/common/settings.h"
#include "app/common/shared_bitmaps.h"
#include "app/common/ui_language.h"
#include "app/shell/front_request.h"
#include "app/shell/main_window.h"
#include "app/shell/program_windows.h"
#include "app/shell/start_form.h"
#include "app/shell/termination_request.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/skin.h"
#include "platform/paths.h"
#include "platform/single_instance.h"

#include <QApplication>

#include <exception>

namespace vt::shell {

int runGuarded(const std::function<int()> &run)
{
    QString message;
    try {
        return run();
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("An unknown error stopped the program.");
    }
    DialogService::current().error(nullptr, message);
    return kStartFailed;
}

// The window the user works in: the open modal window of a mode, else the home window.
void bringToFront(QWidget *home)
{
    QWidget *window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : home;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

int runProgram(QApplication &app, const QString &frontSocket)
{
    QApplication::setApplicationDisplayName(QLatin1String(DisplayProductName));
    if (!Skin::current().loadFromProgramFolder())
        throw std::runtime_error("The skin cannot be loaded: " + Skin::current().errorString().toStdString());
    Skin::current().apply(app);

    auto splash = std::make_unique<TStartForm>();
    splash->show();
    splash->repaint();
    splash->FadeSplash();

    ProgramWindows windows(ProgramServices {common::programSettings(), common::programUiLanguage(), common::programSharedBitmaps(),
                                            common::SettingsEnvironment::program(), ExePath()});

    splash->FadeSplash();
    splash->close();
    splash.reset();

    windows.MainWindow->setWindowTitle(QLatin1String(ProductName));
    windows.MainWindow->show();
    onTerminationRequest(app, [] { QApplication::quit(); });
    if (!frontSocket.isEmpty())
        onFrontRequest(app, frontSocket, [home = windows.MainWindow] { bringToFront(home); });
    return app.exec();
}

int vantorelMain(int argc, char **argv)
{
    SingleInstanceLock instance("vantorel");
    const QString frontSocket = frontRequestSocket(instance.file());
    if (!instance.acquire()) {
        QCoreApplication quiet(argc, argv);
        askRunningCopyToFront(frontSocket);
        return kAlreadyRunning;
    }
    catchTerminationSignals();
    QApplication app(argc, argv);
    return runGuarded([&app, &frontSocket] { return runProgram(app, frontSocket); });
}

} // namespace vt::shell
