// Renders the start-up and home windows into build/screenshots/: the
// splash, the home window with a description (English picture and German
// text), its help menu, the three settings pages and the about window.
#include "app/burn/builder_window.h"
#include "app/burn/burn_window.h"
#include "app/burn/compiler_window.h"
#include "app/burn/device_window.h"
#include "app/burn/setup_dvd_file_window.h"
#include "app/common/test_program_folder.h"
#include "app/production/convert_window.h"
#include "app/project/setup_chapter_window.h"
#include "app/project/setup_clip_window.h"
#include "app/project/setup_subtitle_window.h"
#include "app/shell/about_window.h"
#include "app/shell/main_window.h"
#include "app/shell/option_window.h"
#include "app/shell/start_form.h"
#include "app/shell/test_program_windows.h"
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
        auto windows = vt::shell::createProgramWindows(folder);
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

    // The windows the user meets first, in English and in German: the
    // captions must neither be cut off nor wrap.
    void windowsInBothLanguages()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        windows->SetupClipWindow->enterMode(TSetupClipWindow::Mode::Builder);
        for (const char *language : {"English", "Deutsch"}) {
            QVERIFY(windows->MainWindow->switchLanguage(QLatin1String(language)));
            const QString suffix = QStringLiteral("_") + QLatin1String(language);
            TOptionWindow *options = windows->OptionWindow;
            options->show();
            for (auto [page, name] : {std::pair {vt::shell::OptionPage::General, "OptionWindow_General"},
                                      std::pair {vt::shell::OptionPage::Language, "OptionWindow_Language"},
                                      std::pair {vt::shell::OptionPage::Burner, "OptionWindow_Burner"}}) {
                options->switchPage(page);
                save(options, qPrintable(QLatin1String(name) + suffix));
            }
            options->hide();
            for (QWidget *window : std::initializer_list<QWidget *> {
                     windows->SetupClipWindow, windows->SetupChapterWindow, windows->SetupSubtitleWindow,
                     windows->ConvertWindow, windows->SetupDVDFileWindow, windows->CompilerWindow,
                     windows->BuilderWindow, windows->BurnWindow, windows->DeviceWindow, windows->AboutWindow}) {
                window->show();
                save(window, qPrintable(window->objectName() + suffix));
                window->hide();
            }
        }
    }
};

QTEST_MAIN(ShellScreenshots)
#include "shell_screenshots_test.moc"
