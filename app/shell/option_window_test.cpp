// The settings window as the user drives it: first run, OK and Cancel, the
// restart notice, exclusive pairs, pages, ranges, browse and Load.
#include "app/common/test_program_folder.h"
#include "app/shell/option_window.h"
#include "app/widgets/exclusive_pair.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_spin_edit.h"
#include "app/widgets/window_test_controls.h"

#include "platform/ini_file.h"

#include <QTest>

#include <fstream>

using vt::shell::OptionPage;

using vt::testing::control;
using vt::testing::click;

namespace {

} // namespace

class OptionWindowTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunShowsDefaultsAndOkWritesTheFile()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();

        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_4_3")->isChecked());
        QVERIFY(!control<TsuiCheckBox>(&window, "suiCheckBox_16_9")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_NTSC")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_D5")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_DeleteTemp")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_Burner1")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_SPTI")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox3")->isChecked());
        QCOMPARE(control<TsuiEdit>(&window, "suiEdit_OutputFolder")->text(), folder.path() + "D/Temp/");
        QCOMPARE(folder.language.UILanguage, std::string("English.ini"));

        click(&window, "suiImageButton_Ok");
        QVERIFY(window.confirmed());
        QVERIFY(!window.isVisible());
        QVERIFY(dialogs.shown().empty()); // the engine did not change
        const QString ini = folder.readFile("Option.ini");
        for (const char *line : {"UseDefault=0", "UseSPTI=1", "DeleteTempFiles=1", "ImageRatio=1", "VideoFormat=1",
                                 "DVDType=1", "SubtitleLanguage=0", "MenuLanguage=0", "DVDMenuSafeDistance=10",
                                 "DVDMenuDuration=5", "FontSize=20", "OutputQuality=1", "UILanguage=English.ini",
                                 "AddChapterMenu=0", "UseBurner1=1", "ModifyIFO=1"})
            QVERIFY2(ini.contains(QLatin1String(line)), line);
        QVERIFY(ini.contains("OutputFolder=" + folder.path() + "D/Temp/"));
        // The hand-edited keys of the shipped file stay.
        QVERIFY(ini.contains("DVD5Size=4403200"));
    }

    void cancelKeepsTheSettingsAndTheNextShowReloads()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        click(&window, "suiImageButton_16_9");
        click(&window, "suiCheckBox_PAL");
        control<TsuiSpinEdit>(&window, "suiSpinEdit_Duration")->setValue(60);
        click(&window, "suiImageButton_Cancel");

        QVERIFY(!window.confirmed());
        QVERIFY(folder.settings.shape4x3);
        QVERIFY(folder.settings.ntsc);
        QCOMPARE(folder.settings.menuDuration, 5);
        QVERIFY(folder.readFile("Option.ini").contains("UseDefault=1"));

        window.show();
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_4_3")->isChecked());
        QVERIFY(control<TsuiCheckBox>(&window, "suiCheckBox_NTSC")->isChecked());
        QCOMPARE(control<TsuiSpinEdit>(&window, "suiSpinEdit_Duration")->value(), 5);
    }

    void okStoresTheEditedChoices()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        click(&window, "suiImageButton_16_9");
        click(&window, "suiImageButton_PAL");
        click(&window, "suiCheckBox_D9");
        click(&window, "suiCheckBox_DeleteTemp");
        control<TsuiSpinEdit>(&window, "suiSpinEdit_DVDMenuSafeDistance")->setValue(30);
        control<TsuiComboBox>(&window, "suiComboBox_MenuLanguage")->setCurrentIndex(2);
        click(&window, "suiImageButton_Ok");

        const vt::common::Settings &s = folder.settings;
        QVERIFY(!s.shape4x3);
        QVERIFY(!s.ntsc);
        QVERIFY(!s.dvd5);
        QVERIFY(!s.deleteTempFiles);
        QCOMPARE(s.menuSafeDistance, 30);
        QCOMPARE(s.menuLanguageIndex, 2);
        QCOMPARE(s.subtitleLanguageIndex, 0);  // the subtitle window's choice
        const QString ini = folder.readFile("Option.ini");
        for (const char *line : {"ImageRatio=0", "VideoFormat=0", "DVDType=0", "DeleteTempFiles=0",
                                 "DVDMenuSafeDistance=30", "SubtitleLanguage=0", "MenuLanguage=2"})
            QVERIFY2(ini.contains(QLatin1String(line)), line);
    }

    void changingOnlyTheBurnerEngineAsksForARestartOnce()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        window.switchPage(OptionPage::Burner);
        click(&window, "suiCheckBox_Burner2");
        QVERIFY(!control<TsuiCheckBox>(&window, "suiCheckBox_Burner1")->isChecked());
        click(&window, "suiImageButton_Ok");
        QCOMPARE(dialogs.messageTexts(),
                 QStringList {QStringLiteral("* Restart software required for the change to take effect")});
        QVERIFY(!folder.settings.firstBurnEngine);

        window.show();
        click(&window, "suiImageButton_Ok");
        QCOMPARE(dialogs.messageTexts().size(), 1);
        QVERIFY(folder.readFile("Option.ini").contains("UseBurner1=0"));
    }

    void theRestartNoticeFollowsTheLanguage()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        QVERIFY(folder.language.LoadUILanguage("Deutsch.ini"));
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        click(&window, "suiCheckBox_Burner1");
        click(&window, "suiImageButton_Ok");
        QCOMPARE(dialogs.messageTexts(),
                 QStringList {QStringLiteral("* Die Änderung wird nach einem Neustart wirksam")});
    }

    void tabsShowOnePageAndDisableTheirOwnButton()
    {
        vt::common::TestProgramFolder folder;
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        const char *tabs[] = {"suiImageButton_General", "suiImageButton_Language", "suiImageButton_Burner"};
        const char *pages[] = {"suiImagePanel_General", "suiImagePanel_Language", "suiImagePanel_Burner"};
        for (int chosen : {2, 1, 0}) {
            if (chosen != 0)
                click(&window, tabs[chosen]);
            else
                click(&window, tabs[0]);
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(control<TsuiImagePanel>(&window, pages[i])->isVisible(), i == chosen);
                QCOMPARE(control<TsuiImageButton>(&window, tabs[i])->isEnabled(), i != chosen);
            }
        }
        click(&window, tabs[2]);
        window.hide();
        window.show();
        QCOMPARE(window.page(), OptionPage::General);
    }

    void spinBoxesKeepTheirRanges()
    {
        vt::common::TestProgramFolder folder;
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        auto *duration = control<TsuiSpinEdit>(&window, "suiSpinEdit_Duration");
        auto *distance = control<TsuiSpinEdit>(&window, "suiSpinEdit_DVDMenuSafeDistance");
        QCOMPARE(duration->minimum(), 5);
        QCOMPARE(duration->maximum(), 999);
        QCOMPARE(distance->minimum(), 0);
        QCOMPARE(distance->maximum(), 50);
        duration->setValue(4000);
        QCOMPARE(duration->value(), 999);
    }

    void browseTakesTheChosenFolderAndCancelChangesNothing()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        const QString before = control<TsuiEdit>(&window, "suiEdit_OutputFolder")->text();
        dialogs.answerFolder(QString());
        click(&window, "suiImageButton_Browse");
        QCOMPARE(control<TsuiEdit>(&window, "suiEdit_OutputFolder")->text(), before);

        QDir().mkpath(folder.path() + "D/DVD out");
        dialogs.answerFolder(folder.path() + "D/DVD out");
        click(&window, "suiImageButton_Browse");
        QCOMPARE(dialogs.shown().back().caption, QStringLiteral("Please selct output folder!"));
        QCOMPARE(control<TsuiEdit>(&window, "suiEdit_OutputFolder")->text(), folder.path() + "D/DVD out/");

        // A folder that cannot take output is refused with a message.
        const std::string file = folder.file("D/notes.txt");
        std::ofstream(file) << "a file";
        dialogs.answerFolder(QString::fromStdString(file));
        click(&window, "suiImageButton_Browse");
        QCOMPARE(control<TsuiEdit>(&window, "suiEdit_OutputFolder")->text(), folder.path() + "D/DVD out/");
        QCOMPARE(dialogs.shown().back().text, QString::fromStdString(file + "/ is a file, not a folder. The output folder stays " +
                                                                     folder.file("D/DVD out/") + "."));
        click(&window, "suiImageButton_Ok");
        QCOMPARE(folder.settings.outputFolder, (folder.path() + "D/DVD out/").toStdString());
    }

    void browseThenCancelKeepsTheOutputFolderThroughExit()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        std::string before;
        {
            TOptionWindow window(folder.settings, folder.language, folder.environment());
            window.show();
            click(&window, "suiImageButton_Ok");
            before = folder.settings.outputFolder;
            window.show();
            QDir().mkpath(folder.path() + "D/Elsewhere");
            dialogs.answerFolder(folder.path() + "D/Elsewhere");
            click(&window, "suiImageButton_Browse");
            click(&window, "suiImageButton_Cancel");
            QCOMPARE(folder.settings.outputFolder, before);
        }  // program exit saves once more
        QVERIFY(folder.readFile("Option.ini").contains(QString::fromStdString("OutputFolder=" + before + "\n")));
        QVERIFY(!folder.readFile("Option.ini").contains(QStringLiteral("Elsewhere")));
    }

    void exitSaveKeepsTheMenuAndSubtitleLanguagesApart()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        {
            TOptionWindow window(folder.settings, folder.language, folder.environment());
            window.show();
            control<TsuiComboBox>(&window, "suiComboBox_MenuLanguage")->setCurrentIndex(1);
            click(&window, "suiImageButton_Ok");
            // The subtitle window stores its own default, as it does on OK.
            folder.settings.subtitleLanguageIndex = 4;
            vt::IniFile(folder.file("Option.ini")).writeInt("Option", "SubtitleLanguage", 4);
            // Opening the settings window again does not undo it.
            window.show();
            QCOMPARE(folder.settings.subtitleLanguageIndex, 4);
            QCOMPARE(control<TsuiComboBox>(&window, "suiComboBox_MenuLanguage")->currentIndex(), 1);
            click(&window, "suiImageButton_Cancel");
        }
        const QString ini = folder.readFile("Option.ini");
        QVERIFY2(ini.contains(QStringLiteral("SubtitleLanguage=4\nMenuLanguage=1\n")), qPrintable(ini));
    }

    void readOnlyProgramFolderUserCopyStartsFromTheShippedFile()
    {
        vt::common::TestProgramFolder folder;
        vt::IniFile(folder.file("Option.ini")).writeString("Option", "OpenDialogFilter", "Video|*.mp4;*.avi");
        vt::common::SettingsEnvironment environment = folder.environment();
        environment.optionIniWrite = folder.file("config/vantorel/Option.ini");
        TOptionWindow window(folder.settings, folder.language, environment);
        // Another window writes its one key before the settings are ever saved.
        vt::IniFile(environment.optionIniWrite).writeBool("Option", "VideoFormat", false);

        const QString copy = folder.readFile("config/vantorel/Option.ini");
        QVERIFY2(copy.contains(QStringLiteral("OpenDialogFilter=Video|*.mp4;*.avi")), qPrintable(copy));
        QVERIFY(copy.contains(QStringLiteral("VideoFormat=0")));
        window.show();
        QCOMPARE(folder.settings.videoDialogFilter, std::string("Video|*.mp4;*.avi"));
        QVERIFY(!folder.readFile("Option.ini").contains(QStringLiteral("VideoFormat")));  // the shipped file is untouched
    }

    void loadAddsAUserSubtitleLanguage()
    {
        vt::common::TestProgramFolder folder;
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        TOptionWindow window(folder.settings, folder.language, folder.environment());
        window.show();
        window.switchPage(OptionPage::Language);
        auto *name = control<TsuiComboBox>(&window, "suiComboBox_SubtitleLanguage");
        const int menuItemsBefore = control<TsuiComboBox>(&window, "suiComboBox_MenuLanguage")->count();

        // An empty field: nothing is stored, and the user is told what is missing.
        name->setEditText(QStringLiteral("Esperanto"));
        control<TsuiComboBox>(&window, "suiComboBox_FontFile")->setEditText(QString());
        click(&window, "suiImageButton_Load");
        QCOMPARE(dialogs.messageTexts(), QStringList {QStringLiteral("Please fill in: Font File, Character Set, Language Code.")});
        QVERIFY(folder.readFile("Subtitle.ini").isEmpty());
        dialogs.clear();

        control<TsuiComboBox>(&window, "suiComboBox_FontFile")->setEditText(QStringLiteral("DejaVuSans.ttf"));
        control<TsuiComboBox>(&window, "suiComboBox_CharSet")->setEditText(QStringLiteral("UTF-8"));
        control<TsuiComboBox>(&window, "suiComboBox_LanguageCode")->setEditText(QStringLiteral("EO"));
        click(&window, "suiImageButton_Load");
        QCOMPARE(dialogs.messageTexts(), QStringList {QStringLiteral("Add OK!")});
        QCOMPARE(name->currentText(), QStringLiteral("Esperanto"));
        QCOMPARE(control<TsuiComboBox>(&window, "suiComboBox_MenuLanguage")->count(), menuItemsBefore + 1);
        const QString subtitleIni = folder.readFile("Subtitle.ini");
        QVERIFY(subtitleIni.contains("Region0=Esperanto"));
        QVERIFY(subtitleIni.contains("Esperanto=EO"));
    }
};

QTEST_MAIN(OptionWindowTest)
#include "option_window_test.moc"
