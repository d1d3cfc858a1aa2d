// The home window with every window of the program: creation order, mode
// descriptions, the help menu and its language entries, switching the UI
// language, the mode windows, help and home page, closing.
#include "app/burn/burn_window.h"
#include "app/burn/setup_dvd_file_window.h"
#include "app/common/test_program_folder.h"
#include "app/menu/setup_menu_window.h"
#include "app/project/setup_clip_window.h"
#include "app/shell/about_window.h"
#include "app/shell/help_menu.h"
#include "app/shell/main_window.h"
#include "app/shell/option_window.h"
#include "app/shell/test_program_windows.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/label.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/window_test_controls.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using vt::testing::control;

namespace {

void hover(QWidget *widget)
{
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QCoreApplication::sendEvent(widget, &enter);
}


QStringList visibleDescriptionPictures(QWidget *home)
{
    QStringList shown;
    for (const char *name : {"Image_Builder", "Image_Vob", "Image_Menu", "Image_Burn"}) {
        if (control<TsuiImagePanel>(home, name)->isVisibleTo(home))
            shown << QLatin1String(name);
    }
    return shown;
}

QStringList entryNames(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

} // namespace

class HomeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowIsCreatedInOrderAfterTheSettingsLoad()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        QStringList names;
        for (QWidget *window : windows->inOrder())
            names << window->objectName();
        QStringList expected;
        for (const char *name : vt::common::kLocalizedWindows)
            expected << QLatin1String(name);
        QCOMPARE(names, expected);
        QCOMPARE(windows->MainWindow->metaObject()->className(), "TMainWindow");
        QCOMPARE(windows->OptionWindow->metaObject()->className(), "TOptionWindow");
        QCOMPARE(windows->AboutWindow->metaObject()->className(), "TAboutWindow");
        // The settings window loaded the settings while it was created.
        QCOMPARE(folder.language.UILanguage, std::string("English.ini"));
        QCOMPARE(folder.settings.outputFolder, (folder.path() + "D/Temp/").toStdString());

        TMainWindow *home = windows->MainWindow;
        QCOMPARE(home->client()->size(), QSize(581, 394));
        QCOMPARE(home->resourceFolder(), (folder.path() + "RES/").toStdString());
        for (auto id : {vt::common::SharedBitmapId::SrtEnabledBmp, vt::common::SharedBitmapId::SetupClipSelectBmp,
                        vt::common::SharedBitmapId::MenuClipUnSelectBmpOn}) {
            QVERIFY(!folder.bitmaps[id].image.isNull());
        }
        QCOMPARE(folder.bitmaps[vt::common::SharedBitmapId::SetupClipSelectBmp].image.size(), QSize(409, 77));
        QCOMPARE(folder.bitmaps[vt::common::SharedBitmapId::MenuClipSelectBmp].image.size(), QSize(92, 72));
        QCOMPARE(folder.bitmaps[vt::common::SharedBitmapId::SrtEnabledBmp].image.size(), QSize(25, 73));
        QCOMPARE(control<TsuiImageButton>(home, "suiImageButton_Min")->toolTip(), QStringLiteral("Minimiaze"));
    }

    void aMissingItemBitmapIsReportedAndStartUpGoesOn()
    {
        vt::common::TestProgramFolder folder;
        folder.removeFile("RES/srt_on.bmp");
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        auto windows = vt::shell::createProgramWindows(folder);
        QCOMPARE(dialogs.messageTexts().size(), 1);
        QVERIFY(dialogs.messageTexts()[0].contains(QLatin1String("srt_on.bmp")));
        QVERIFY(folder.bitmaps[vt::common::SharedBitmapId::SrtEnabledBmpOn].image.isNull());
        QVERIFY(!folder.bitmaps[vt::common::SharedBitmapId::SrtEnabledBmp].image.isNull());
    }

    void englishShowsDescriptionPicturesOtherLanguagesShowTexts()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->show();
        auto *label = control<TLabel>(home, "Label_Description");
        QVERIFY(visibleDescriptionPictures(home).isEmpty());

        hover(control<QWidget>(home, "suiImageButton_Compiler"));
        QCOMPARE(visibleDescriptionPictures(home), QStringList {QStringLiteral("Image_Menu")});
        QVERIFY(label->text().isEmpty());
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 380), QPointF(5, 380), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(home->client()->childAt(5, 380), &move);
        QVERIFY(visibleDescriptionPictures(home).isEmpty());

        QVERIFY(home->switchLanguage(QStringLiteral("Deutsch")));
        QCOMPARE(folder.language.UILanguage, std::string("Deutsch.ini"));
        hover(control<QWidget>(home, "suiImageButton_Burner"));
        QVERIFY(visibleDescriptionPictures(home).isEmpty());
        QCOMPARE(label->text().toStdString(), folder.language.GetUIText(157));
        QVERIFY(!label->text().startsWith(QLatin1String("Burn DVD-Folder")));
        home->describe(TMainWindow::Mode::None);
        QVERIFY(label->text().isEmpty());
    }

    void switchingLanguageFromTheMenuRelabelsEveryWindowAtOnce()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->show();
        auto *deleteTemp = control<TsuiCheckBox>(windows->OptionWindow, "suiCheckBox_DeleteTemp");
        QCOMPARE(deleteTemp->text(), QStringLiteral(" Delete Temp Files"));

        QAction *deutsch = nullptr;
        for (QAction *action : home->buildHelpMenu()->languageActions()) {
            if (action->text() == QLatin1String("Deutsch"))
                deutsch = action;
        }
        QVERIFY(deutsch);
        deutsch->trigger();

        QCOMPARE(deleteTemp->text(), QStringLiteral(" Temporäre Dateien löschen"));
        QCOMPARE(deleteTemp->font().pointSize(), 9);
        QCOMPARE(control<TsuiImageButton>(home, "suiImageButton_Min")->toolTip(), QStringLiteral("Minimieren"));
        QCOMPARE(control<TLabel>(windows->AboutWindow, "Label3")->text(), QStringLiteral("Startseite :"));
        QCOMPARE(control<TsuiImageButton>(windows->AboutWindow, "suiImageButton_Cancel")->toolTip(),
                 QStringLiteral("Schließen"));
        // The version texts were read again with the about window's turn.
        QCOMPARE(control<QLabel>(windows->AboutWindow, "Label1")->text(), QStringLiteral("Vantorel 0.1.0"));
        // The menu is rebuilt in the new language, with the new choice checked.
        THelpMenu *menu = home->buildHelpMenu();
        QCOMPARE(menu->actions().first()->text(), QString::fromStdString(folder.language.GetUIText(140)));
        QVERIFY(menu->defaultAction() && menu->defaultAction()->text() == QLatin1String("Deutsch"));
    }

    void theLanguageChosenFromTheMenuIsStoredAtExit()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        for (QAction *action : windows->MainWindow->buildHelpMenu()->languageActions()) {
            if (action->text() == QLatin1String("Deutsch"))
                action->trigger();
        }
        QCOMPARE(QString::fromStdString(folder.language.UILanguage), QStringLiteral("Deutsch.ini"));
        // Nothing is written until the settings are saved: at program exit.
        QVERIFY(!folder.readFile("Option.ini").contains(QLatin1String("UILanguage=Deutsch.ini")));
        windows.reset();
        const QString stored = folder.readFile("Option.ini");
        QVERIFY2(stored.contains(QLatin1String("\nUILanguage=Deutsch.ini\n")), qPrintable(stored));
        QVERIFY(stored.contains(QLatin1String("\nUseDefault=0\n")));
    }

    void lowerCaseEnglishIsTheCurrentEntryButShowsTexts()
    {
        vt::common::TestProgramFolder folder;
        folder.language.UILanguage = "english.ini";
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->show();
        QVERIFY(folder.language.hasLanguageIni());

        THelpMenu *menu = home->buildHelpMenu();
        QCOMPARE(entryNames(menu), (QStringList {"Help", "-", "About", "-", "Lang0", "Lang1"}));
        QCOMPARE(menu->languageActions()[1]->text(), QStringLiteral("English"));
        QVERIFY(menu->languageActions()[1]->isChecked());
        QVERIFY(!menu->languageActions()[0]->isChecked());
        QCOMPARE(menu->defaultAction(), menu->languageActions()[1]);

        hover(control<QWidget>(home, "suiImageButton_Builder"));
        QVERIFY(visibleDescriptionPictures(home).isEmpty());
        QCOMPARE(control<TLabel>(home, "Label_Description")->text().toStdString(), folder.language.GetUIText(154));
    }

    void aLanguageFolderWithoutIniFilesListsNoLanguages()
    {
        vt::common::TestProgramFolder folder;
        folder.removeFile("Lang/English.ini");
        folder.removeFile("Lang/Deutsch.ini");
        QDir().mkpath(folder.path() + "Lang/Old.ini");  // a folder, not a language file
        QFile readme(folder.path() + "Lang/readme.txt");
        QVERIFY(readme.open(QIODevice::WriteOnly));
        auto windows = vt::shell::createProgramWindows(folder);
        THelpMenu *menu = windows->MainWindow->buildHelpMenu();
        QCOMPARE(entryNames(menu), (QStringList {"Help", "-", "About", "-"}));
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Vantorel Help"));
        QCOMPARE(menu->actions()[2]->text(), QStringLiteral("About Vantorel"));
    }

    void anAmpersandInALanguageFileNameIsShownAndLoadedAsIs()
    {
        vt::common::TestProgramFolder folder;
        QVERIFY(QFile::copy(folder.path() + "Lang/Deutsch.ini", folder.path() + "Lang/R&D.ini"));
        auto windows = vt::shell::createProgramWindows(folder);
        THelpMenu *menu = windows->MainWindow->buildHelpMenu();
        QAction *entry = menu->languageActions().last();
        QCOMPARE(entry->text(), QStringLiteral("R&&D")); // no access key: "&" drawn literally
        entry->trigger();
        QCOMPARE(folder.language.UILanguage, std::string("R&D.ini"));
        // A file that vanished since the menu was built changes nothing.
        folder.removeFile("Lang/Deutsch.ini");
        QVERIFY(!windows->MainWindow->switchLanguage(QStringLiteral("Deutsch")));
        QCOMPARE(folder.language.UILanguage, std::string("R&D.ini"));
    }

    void helpAndHomePageGoToTheDesktop()
    {
        vt::common::TestProgramFolder folder;
        QList<QUrl> opened;
        vt::DesktopOpener previous = vt::setDesktopOpener([&opened](const QUrl &url) { opened << url; return true; });
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->buildHelpMenu()->actions().first()->trigger();
        QTest::mouseClick(control<QWidget>(home, "suiImageButton_Home"), Qt::LeftButton);
        vt::setDesktopOpener(std::move(previous));
        QCOMPARE(opened, (QList<QUrl> {QUrl::fromLocalFile(folder.path() + "PellornHelp.html"),
                                       QUrl(QStringLiteral("https://www.vantorel.example/"))}));
        QVERIFY(QFile::exists(folder.path() + "PellornHelp.html"));
    }

    void aModeHidesTheHomeWindowUntilItsWindowCloses()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->show();
        const struct {
            const char *button;
            QDialog *window;
        } modes[] = {
            {"suiImageButton_Builder", windows->SetupClipWindow},
            {"suiImageButton_Converter", windows->SetupClipWindow},
            {"suiImageButton_Compiler", windows->SetupMenuWindow},
            {"suiImageButton_Burner", windows->SetupDVDFileWindow},
        };
        for (const auto &mode : modes) {
            bool homeHidden = false;
            QWidget *shown = nullptr;
            QTimer::singleShot(0, [&] {
                homeHidden = !home->isVisible();
                shown = QApplication::activeModalWidget();
                // The menu editor closes only through its own buttons, once its menu is built.
                if (auto *menu = qobject_cast<TSetupMenuWindow *>(shown)) {
                    QTRY_VERIFY(menu->built());
                    menu->closeProject();
                } else if (shown) {
                    shown->close();
                }
            });
            QTest::mouseClick(control<QWidget>(home, mode.button), Qt::LeftButton);
            QVERIFY2(homeHidden, mode.button);
            QCOMPARE(shown, mode.window);
            QVERIFY(home->isVisible());
        }
    }

    void enteringTheBurnerModeForgetsTheFolderOfTheLastBurn()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        windows->MainWindow->show();
        windows->BurnWindow->setDvdFolder("/somewhere/VIDEO_TS", vt::production::kPal);
        QTimer::singleShot(0, [&] { QApplication::activeModalWidget()->close(); });
        QTest::mouseClick(control<QWidget>(windows->MainWindow, "suiImageButton_Burner"), Qt::LeftButton);
        QVERIFY(!windows->BurnWindow->folderFlag());
        QVERIFY(windows->BurnWindow->videoTsFolder().empty());
    }

    void closingFreesTheSharedPicturesAndTheLanguageFile()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        TMainWindow *home = windows->MainWindow;
        home->show();
        QVERIFY(folder.language.hasLanguageIni());
        home->close();
        QVERIFY(!folder.language.hasLanguageIni());
        QVERIFY(folder.bitmaps[vt::common::SharedBitmapId::SrtEnabledBmp].image.isNull());
    }
};

QTEST_MAIN(HomeWindowTest)
#include "main_window_test.moc"
