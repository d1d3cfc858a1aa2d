// Renders the start-up and home windows into build/screenshots/: the
// splash, the home window with a description (English picture and German
// text), its help menu, the three settings pages and the about window.
#include "app/shell/about_window.h"
#include "app/shell/main_window.h"
#include "app/shell/option_window.h"
#include "app/shell/start_form.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/screenshot.h"

#include <QEnterEvent>
#include <QFileInfo>
#include <QTest>

namespace {

void hover(QWidget *widget)
{
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QCoreApplication::sendEvent(widget, &enter);
}

void save(QWidget *widget, const char *name)
{
    const QString file = vt::saveScreenshot(widget, QLatin1String(name));
    QVERIFY2(!file.isEmpty(), name);
    QVERIFY(QFileInfo(file).size() > 1000);
}

} // namespace

class ShellScreenshots : public QObject {
    Q_OBJECT

private slots:
    void splash()
    {
        vt::common::TestProgramFolder folder;
        TStartForm splash;
        splash.show();
        save(&splash, "Splash");
    }

    void homeAndItsWindows()
    {
        vt::common::TestProgramFolder folder;
        auto windows = folder.createWindows();
        TMainWindow *home = windows->MainWindow;
        home->setWindowTitle(QStringLiteral("Vantorel"));
        home->show();
        QVERIFY(QTest::qWaitForWindowExposed(home));
        hover(home->findChild<QWidget *>(QStringLiteral("suiImageButton_Builder")));
        save(home, "MainWindow");

        THelpMenu *menu = home->buildHelpMenu();
        menu->popup(home->mapToGlobal(QPoint(459, 52)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        save(menu, "HelpMenu");
        menu->close();

        TOptionWindow *options = windows->OptionWindow;
        options->show();
        const std::pair<vt::shell::OptionPage, const char *> pages[] = {
            {vt::shell::OptionPage::General, "OptionWindow_General"},
            {vt::shell::OptionPage::Language, "OptionWindow_Language"},
            {vt::shell::OptionPage::Burner, "OptionWindow_Burner"},
        };
        for (const auto &[page, name] : pages) {
            options->switchPage(page);
            save(options, name);
        }
        options->hide();

        windows->AboutWindow->show();
        save(windows->AboutWindow, "AboutWindow");
        windows->AboutWindow->hide();

        QVERIFY(home->switchLanguage(QStringLiteral("Deutsch")));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(home->findChild<QWidget *>(QStringLiteral("suiImageButton_Builder")), &leave);
        home->describe(TMainWindow::Mode::None);
        hover(home->findChild<QWidget *>(QStringLiteral("suiImageButton_Converter")));
        save(home, "MainWindow_Deutsch");
    }
};

QTEST_MAIN(ShellScreenshots)
#include "shell_screenshots_test.moc"
