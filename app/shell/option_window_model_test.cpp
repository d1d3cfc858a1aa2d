#include "app/shell/option_window_model.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::common;
using namespace vt::shell;
using vt::test::TempFolder;

constexpr uint64_t kGB = uint64_t(1) << 30;

const char *kLanguageIni =
    "[RegionCount]\nRegion=2\n"
    "[RegionLanguage]\nRegion0=English\nRegion1=German\n"
    "[CharacterSet]\nEnglish=ISO-8859-1\nGerman=ISO-8859-15\n"
    "[RegionFontFileName]\nEnglish=/fonts/en.ttf\nGerman=/fonts/de.ttf\n"
    "[LanguageCode]\nEnglish=EN\nGerman=DE\n";

const char *kSubtitleIni =
    "[RegionCount]\nRegion=2\n"
    "[RegionLanguage]\nRegion0=Klingon\nRegion1=German\n"
    "[CharacterSet]\nKlingon=UTF-8\nGerman=CP1252\n"
    "[RegionFontFileName]\nKlingon=/fonts/kl.ttf\n"
    "[LanguageCode]\nKlingon=KL\n";

class FakeVolumes : public vt::VolumeSource {
public:
    std::vector<vt::Volume> list;
    std::vector<vt::Volume> volumes() const override { return list; }
};

class OptionWindowModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tmp.write("bin/Language.ini", kLanguageIni);
        // The disk's "Temp" is there already: nothing is made at a disk's top.
        std::filesystem::create_directories(tmp.path() + "D/Temp");
        std::filesystem::create_directories(tmp.path() + "home");
        fake.list = {{tmp.path() + "D/", 20 * kGB}};
    }

    vt::common::SettingsEnvironment environment(const std::string &userLanguage = "English")
    {
        vt::common::SettingsEnvironment env {
            tmp.path() + "bin/Option.ini",
            tmp.path() + "bin/Option.ini",
            vt::UserRegistry(tmp.path() + "registry.ini"),
            vt::common::RegionList(tmp.path() + "bin/Language.ini", tmp.path() + "bin/Subtitle.ini", tmp.path() + "bin/Subtitle.ini"),
            vt::common::FolderContext {&fake, tmp.path() + "home/", tmp.path() + "bin/", tmp.path() + "bin/Temp/"},
            userLanguage,
            7,
        };
        return env;
    }

    std::string optionIni() const { return TempFolder::read(tmp.path() + "bin/Option.ini"); }

    TempFolder tmp;
    FakeVolumes fake;
    vt::common::Settings settings;
    vt::common::UiLanguage language {tmp.path() + "bin/Lang/"};
};

TEST_F(OptionWindowModelTest, FirstRunWithoutOptionIni)
{
    settings.shape4x3 = false;  // stale values are replaced by the first-run choices
    settings.deleteTempFiles = false;
    OptionWindowModel model(settings, language, environment());
    model.create();

    const OptionControls &c = model.controls;
    EXPECT_TRUE(c.suiCheckBox_4_3 && !c.suiCheckBox_16_9);
    EXPECT_TRUE(c.suiCheckBox_NTSC && !c.suiCheckBox_PAL);
    EXPECT_TRUE(c.suiCheckBox_D5 && !c.suiCheckBox_D9);
    EXPECT_TRUE(c.suiCheckBox_DeleteTemp && c.suiCheckBox3);
    EXPECT_TRUE(c.suiCheckBox_Burner1 && !c.suiCheckBox_Burner2);
    EXPECT_TRUE(c.suiCheckBox_SPTI && !c.suiCheckBox_ASPI);
    EXPECT_EQ(c.suiComboBox_MenuLanguage.items, (std::vector<std::string> {"English", "German"}));
    EXPECT_EQ(c.suiComboBox_MenuLanguage.itemIndex, 0);
    EXPECT_EQ(c.suiEdit_OutputFolder, tmp.path() + "D/Temp/");
    EXPECT_EQ(c.suiSpinEdit_Duration, 5);
    EXPECT_EQ(c.suiSpinEdit_DVDMenuSafeDistance, 10);
    EXPECT_EQ(c.suiFontSizeComboBox, 20);

    const Settings defaults;
    EXPECT_TRUE(settings.shape4x3 && settings.ntsc && settings.dvd5 && settings.deleteTempFiles);
    EXPECT_TRUE(settings.firstBurnEngine && settings.modifyIfo && settings.useSpti);
    EXPECT_EQ(settings.outputFolder, tmp.path() + "D/Temp/");
    EXPECT_EQ(settings.vobDialogFilter, "VOB File (*.vob,*.VOB)|*.vob");
    EXPECT_EQ(settings.discKBPerMinute, 30720);
    EXPECT_EQ(settings.dvd5SizeKB, 4403200);
    EXPECT_EQ(settings.dvd9SizeKB, 8704000);
    EXPECT_EQ(settings.outputQuality, 1);
    EXPECT_FALSE(settings.addChapterMenu);
    EXPECT_EQ(settings.menuLanguageIndex, 0);
    EXPECT_EQ(settings.subtitleLanguageIndex, 0);
    EXPECT_EQ(language.UILanguage, "English.ini");
}

TEST_F(OptionWindowModelTest, FirstRunSaveWritesEveryKeyInOrder)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    settings.outputQuality = 2;
    ASSERT_TRUE(model.SaveSettings()) << model.error();
    EXPECT_EQ(optionIni(),
              "[Option]\n"
              "UseSPTI=1\n"
              "OutputFolder=" + tmp.path() + "D/Temp/\n"
              "DeleteTempFiles=1\n"
              "ImageRatio=1\n"
              "VideoFormat=1\n"
              "DVDType=1\n"
              "SubtitleLanguage=0\n"
              "MenuLanguage=0\n"
              "UseDefault=0\n"
              "DVDMenuSafeDistance=10\n"
              "DVDMenuDuration=5\n"
              "FontSize=20\n"
              "OutputQuality=2\n"
              "UILanguage=English.ini\n"
              "AddChapterMenu=0\n"
              "UseBurner1=1\n"
              "ModifyIFO=1\n");
}

TEST_F(OptionWindowModelTest, FirstRunMatchesTheUsersLanguageAmongUserRegions)
{
    tmp.write("bin/Subtitle.ini", kSubtitleIni);
    OptionWindowModel model(settings, language, environment("German"));
    model.create();

    const OptionControls &c = model.controls;
    EXPECT_EQ(c.suiComboBox_SubtitleLanguage.items, (std::vector<std::string> {"Klingon", "German"}));
    EXPECT_EQ(c.suiComboBox_SubtitleLanguage.itemIndex, 1);
    // The combined list: two shipped regions, then the user's.
    EXPECT_EQ(c.suiComboBox_MenuLanguage.items.size(), 4u);
    EXPECT_EQ(c.suiComboBox_MenuLanguage.itemIndex, 3);
    EXPECT_EQ(settings.menuLanguageIndex, 3);
    EXPECT_EQ(settings.subtitleLanguageIndex, 3);
    // The property lists show the chosen user region (the user's German
    // overrides the character set only).
    EXPECT_EQ(c.suiComboBox_CharSet.text, "CP1252");
    EXPECT_EQ(c.suiComboBox_FontFile.text, "/fonts/de.ttf");
    EXPECT_EQ(c.suiComboBox_LanguageCode.text, "DE");

    vt::common::Settings other;
    vt::common::UiLanguage otherLanguage(tmp.path() + "bin/Lang/");
    OptionWindowModel noMatch(other, otherLanguage, environment("French"));
    noMatch.create();
    EXPECT_EQ(noMatch.controls.suiComboBox_SubtitleLanguage.itemIndex, 0);
    EXPECT_EQ(noMatch.controls.suiComboBox_MenuLanguage.itemIndex, 0);
    EXPECT_EQ(noMatch.controls.suiComboBox_CharSet.text, "UTF-8");  // Klingon, index N + 0
}

TEST_F(OptionWindowModelTest, UILanguageComesFromTheFileThenTheRegistryOnce)
{
    struct Case {
        const char *what, *optionIni, *registry, *expected;
    } cases[] = {
        {"stored", "[Option]\nUILanguage=Deutsch.ini\n", "", "Deutsch.ini"},
        {"registry when the file has none", "", "[SOFTWARE\\Pellorn]\nUILanguage=Francais.ini\n", "Francais.ini"},
        {"short names are not file names", "[Option]\nUILanguage=de\n", "", "English.ini"},
        {"short registry value", "", "[SOFTWARE\\Pellorn]\nUILanguage=\n", "English.ini"},
        {"empty stored value", "[Option]\nUILanguage=\n", "[SOFTWARE\\Pellorn]\nUILanguage=Francais.ini\n", "English.ini"},
    };
    for (const Case &c : cases) {
        tmp.write("bin/Option.ini", c.optionIni);
        tmp.write("registry.ini", c.registry);
        vt::common::UiLanguage fresh(tmp.path() + "bin/Lang/");
        OptionWindowModel model(settings, fresh, environment());
        model.create();
        EXPECT_EQ(fresh.UILanguage, c.expected) << c.what;
    }

    // Once set, later loads keep it.
    tmp.write("bin/Option.ini", "[Option]\nUILanguage=Deutsch.ini\n");
    language.UILanguage = "English.ini";
    OptionWindowModel model(settings, language, environment());
    model.create();
    model.show();
    EXPECT_EQ(language.UILanguage, "English.ini");
}

TEST_F(OptionWindowModelTest, StoredSettingsLoad)
{
    std::filesystem::create_directories(tmp.path() + "D/My DVDs");
    tmp.write("bin/Subtitle.ini", kSubtitleIni);
    tmp.write("bin/Option.ini",
              "[Option]\n"
              "UseDefault=0\nUseSPTI=0\nOutputFolder=" + tmp.path() + "D/My DVDs\n"
              "DeleteTempFiles=0\nImageRatio=0\nVideoFormat=0\nDVDType=0\n"
              "SubtitleLanguage=2\nMenuLanguage=2\n"
              "DVDMenuSafeDistance=77\nDVDMenuDuration=1\nFontSize=28\nOutputQuality=0\n"
              "AddChapterMenu=1\nUseBurner1=0\nModifyIFO=0\n"
              "OpenDialogFilter=Video|*.avi\nDiscSizePerMin=40000\nDVD5Size=4000000\nDVD9Size=8000000\n"
              "ParallelConversions=3\n");
    OptionWindowModel model(settings, language, environment());
    model.create();

    const OptionControls &c = model.controls;
    EXPECT_TRUE(!c.suiCheckBox_SPTI && c.suiCheckBox_ASPI);
    EXPECT_TRUE(!c.suiCheckBox_4_3 && c.suiCheckBox_16_9);
    EXPECT_TRUE(!c.suiCheckBox_NTSC && c.suiCheckBox_PAL);
    EXPECT_TRUE(!c.suiCheckBox_D5 && c.suiCheckBox_D9);
    EXPECT_TRUE(!c.suiCheckBox_Burner1 && c.suiCheckBox_Burner2);
    EXPECT_FALSE(c.suiCheckBox_DeleteTemp);
    EXPECT_FALSE(c.suiCheckBox3);
    EXPECT_EQ(c.suiSpinEdit_DVDMenuSafeDistance, 50);
    EXPECT_EQ(c.suiSpinEdit_Duration, 5);
    EXPECT_EQ(c.suiEdit_OutputFolder, tmp.path() + "D/My DVDs/");
    // Index 2 of the combined list is the first user region.
    EXPECT_EQ(c.suiComboBox_MenuLanguage.itemIndex, 2);
    EXPECT_EQ(c.suiComboBox_SubtitleLanguage.itemIndex, 0);
    EXPECT_EQ(c.suiComboBox_LanguageCode.text, "KL");
    EXPECT_EQ(c.suiFontSizeComboBox, 28);

    EXPECT_FALSE(settings.shape4x3 || settings.ntsc || settings.dvd5 || settings.useSpti);
    EXPECT_FALSE(settings.firstBurnEngine || settings.modifyIfo || settings.deleteTempFiles);
    EXPECT_TRUE(settings.addChapterMenu);
    EXPECT_EQ(settings.outputQuality, 0);
    EXPECT_EQ(settings.subtitleFontSize, 28);
    EXPECT_EQ(settings.menuLanguageIndex, 2);
    EXPECT_EQ(settings.subtitleLanguageIndex, 2);
    EXPECT_EQ(settings.menuSafeDistance, 50);
    EXPECT_EQ(settings.menuDuration, 5);
    EXPECT_EQ(settings.videoDialogFilter, "Video|*.avi");
    EXPECT_EQ(settings.discKBPerMinute, 40000);
    EXPECT_EQ(settings.dvd5SizeKB, 4000000);
    EXPECT_EQ(settings.dvd9SizeKB, 8000000);
    EXPECT_EQ(settings.parallelConversions, 3);
}

TEST_F(OptionWindowModelTest, HandEditedNonsenseFallsBackToUsableValues)
{
    tmp.write("bin/Option.ini",
              "[Option]\nUseDefault=0\nOutputFolder=nodef\nSubtitleLanguage=99\nMenuLanguage=-3\n"
              "DiscSizePerMin=0\nDVD5Size=-1\nDVD9Size=999999999999\nFontSize=0\nOutputQuality=9\n"
              "DVDMenuDuration=100000\nParallelConversions=-4\n");
    OptionWindowModel model(settings, language, environment());
    model.create();
    EXPECT_EQ(model.controls.suiComboBox_MenuLanguage.itemIndex, 0);
    EXPECT_EQ(settings.menuLanguageIndex, 0);
    EXPECT_EQ(settings.outputFolder, tmp.path() + "D/Temp/");
    EXPECT_EQ(settings.discKBPerMinute, 30720);
    EXPECT_EQ(settings.dvd5SizeKB, 4403200);
    EXPECT_EQ(settings.dvd9SizeKB, 104857600);
    EXPECT_EQ(settings.subtitleFontSize, 20);
    EXPECT_EQ(settings.outputQuality, 1);
    EXPECT_EQ(settings.menuDuration, 999);
    EXPECT_EQ(settings.parallelConversions, 0);  // automatic
}

TEST_F(OptionWindowModelTest, OkSavesAndAsksForARestartOnlyWhenTheEngineChanged)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    model.show();
    EXPECT_FALSE(model.confirmed);

    model.controls.suiCheckBox_Burner1 = false;
    model.controls.suiCheckBox_Burner2 = true;
    model.controls.suiFontSizeComboBox = 36;
    OkResult result = model.ok();
    EXPECT_TRUE(result.saved) << result.error;
    EXPECT_TRUE(model.confirmed);
    EXPECT_TRUE(result.restartNotice);
    EXPECT_EQ(result.restartText, "* Restart software required for the change to take effect");
    EXPECT_FALSE(settings.firstBurnEngine);
    EXPECT_EQ(settings.subtitleFontSize, 36);
    EXPECT_NE(optionIni().find("UseBurner1=0\n"), std::string::npos);
    EXPECT_NE(optionIni().find("UseDefault=0\n"), std::string::npos);

    model.show();
    EXPECT_FALSE(model.confirmed);
    EXPECT_FALSE(model.controls.suiCheckBox_Burner1);
    result = model.ok();
    EXPECT_FALSE(result.restartNotice);
}

TEST_F(OptionWindowModelTest, CancelledEditsAreGoneAtTheNextShow)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    ASSERT_TRUE(model.ok().saved);

    model.show();
    model.controls.suiCheckBox_4_3 = false;
    model.controls.suiCheckBox_16_9 = true;
    model.controls.suiSpinEdit_Duration = 30;
    // Cancel: nothing copied or saved.
    EXPECT_TRUE(settings.shape4x3);
    model.show();
    EXPECT_TRUE(model.controls.suiCheckBox_4_3);
    EXPECT_EQ(model.controls.suiSpinEdit_Duration, 5);
    EXPECT_EQ(model.page, OptionPage::General);
}

TEST_F(OptionWindowModelTest, MenuAndSubtitleLanguageStaySeparate)
{
    tmp.write("bin/Subtitle.ini", kSubtitleIni);
    OptionWindowModel model(settings, language, environment());
    model.create();
    // The subtitle window chose the subtitle default; the DVD language is chosen here.
    settings.subtitleLanguageIndex = 2;
    model.controls.suiComboBox_MenuLanguage.itemIndex = 3;
    ASSERT_TRUE(model.ok().saved);
    EXPECT_NE(optionIni().find("SubtitleLanguage=2\nMenuLanguage=3\n"), std::string::npos) << optionIni();

    // Showing the window again (and a new start) keeps both.
    model.show();
    EXPECT_EQ(settings.subtitleLanguageIndex, 2);
    EXPECT_EQ(settings.menuLanguageIndex, 3);
    Settings reloaded;
    UiLanguage reloadedLanguage(tmp.path() + "bin/Lang/");
    OptionWindowModel again(reloaded, reloadedLanguage, environment());
    again.create();
    EXPECT_EQ(again.controls.suiComboBox_MenuLanguage.itemIndex, 3);
    EXPECT_EQ(again.controls.suiComboBox_SubtitleLanguage.itemIndex, 0);  // region 2, the first user region
    EXPECT_EQ(reloaded.subtitleLanguageIndex, 2);
    EXPECT_EQ(reloaded.menuLanguageIndex, 3);

    // A stored subtitle index past the list falls back to the first region.
    tmp.write("bin/Option.ini", "[Option]\nUseDefault=0\nSubtitleLanguage=9\nMenuLanguage=1\n");
    again.show();
    EXPECT_EQ(reloaded.subtitleLanguageIndex, 0);
    EXPECT_EQ(reloaded.menuLanguageIndex, 1);
}

TEST_F(OptionWindowModelTest, SavingAUserLanguageWithEmptyFieldsNamesThem)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    model.controls.suiComboBox_SubtitleLanguage.text = "Esperanto";
    model.controls.suiComboBox_FontFile.text = "";
    model.controls.suiComboBox_CharSet.text = "ISO-8859-3";
    model.controls.suiComboBox_LanguageCode.text = "";
    const AddRegionResult result = model.loadUserSubtitleLanguage();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Please fill in: Font File, Language Code.");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "bin/Subtitle.ini"));
}

TEST_F(OptionWindowModelTest, UserLanguageBoxesOfferRealChoices)
{
    tmp.write("bin/Subtitle.ini", kSubtitleIni);
    OptionWindowModel model(settings, language, environment());
    model.create();
    const OptionControls &c = model.controls;
    // Klingon's own values are chosen, with the choices of the system around them.
    EXPECT_EQ(c.suiComboBox_FontFile.text, "/fonts/kl.ttf");
    EXPECT_GT(c.suiComboBox_FontFile.items.size(), 1u);
    for (const std::string &font : c.suiComboBox_FontFile.items)
        if (font != "/fonts/kl.ttf")
            EXPECT_TRUE(std::filesystem::is_regular_file(font)) << font;
    EXPECT_EQ(c.suiComboBox_CharSet.text, "UTF-8");
    for (const char *set : {"ISO-8859-1", "CP1251", "SHIFT_JIS"})
        EXPECT_NE(std::find(c.suiComboBox_CharSet.items.begin(), c.suiComboBox_CharSet.items.end(), set),
                  c.suiComboBox_CharSet.items.end())
            << set;
    EXPECT_EQ(c.suiComboBox_LanguageCode.items, (std::vector<std::string> {"DE", "EN", "KL"}));
    EXPECT_EQ(c.suiComboBox_LanguageCode.text, "KL");
}

TEST_F(OptionWindowModelTest, LoadButtonAddsAUserLanguageToBothLists)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    model.controls.suiComboBox_SubtitleLanguage.text = "Esperanto";
    model.controls.suiComboBox_FontFile.text = "/fonts/eo.ttf";
    model.controls.suiComboBox_CharSet.text = "ISO-8859-3";
    model.controls.suiComboBox_LanguageCode.text = "EO";
    const vt::common::AddRegionResult result = model.loadUserSubtitleLanguage();
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(model.controls.suiComboBox_SubtitleLanguage.items, (std::vector<std::string> {"Esperanto"}));
    EXPECT_EQ(model.controls.suiComboBox_SubtitleLanguage.itemIndex, 0);
    EXPECT_EQ(model.controls.suiComboBox_MenuLanguage.items,
              (std::vector<std::string> {"English", "German", "Esperanto"}));
    EXPECT_EQ(model.environment().regions.GetRegionLanguageCode(2), "EO");
}

TEST_F(OptionWindowModelTest, SavingToTheUsersFolderKeepsTheShippedKeys)
{
    tmp.write("bin/Option.ini", "[Option]\nOpenDialogFilter=Video|*.avi\nUseDefault=1\n");
    vt::common::SettingsEnvironment env = environment();
    env.optionIniWrite = tmp.path() + "config/vantorel/Option.ini";  // folder not there yet
    OptionWindowModel model(settings, language, std::move(env));
    model.create();
    ASSERT_TRUE(model.SaveSettings()) << model.error();
    const std::string written = TempFolder::read(tmp.path() + "config/vantorel/Option.ini");
    EXPECT_EQ(written.rfind("[Option]\nOpenDialogFilter=Video|*.avi\nUseDefault=0\n", 0), 0u) << written;
    EXPECT_EQ(optionIni(), "[Option]\nOpenDialogFilter=Video|*.avi\nUseDefault=1\n");
}

TEST_F(OptionWindowModelTest, BrowseValidatesTheChosenFolder)
{
    OptionWindowModel model(settings, language, environment());
    model.create();
    const std::string before = settings.outputFolder;
    EXPECT_EQ(model.browse(tmp.path() + "D"), "");
    EXPECT_EQ(model.controls.suiEdit_OutputFolder, tmp.path() + "D/");
    // A refused choice keeps the folder the box had, and says why.
    EXPECT_EQ(model.browse("/"), "The top of the system's file system / can not take output. The output folder stays " +
                                     tmp.path() + "D/.");
    EXPECT_EQ(model.controls.suiEdit_OutputFolder, tmp.path() + "D/");
    // Only OK hands the chosen folder to the settings.
    EXPECT_EQ(settings.outputFolder, before);
    ASSERT_TRUE(model.ok().saved);
    EXPECT_EQ(settings.outputFolder, tmp.path() + "D/");
}

} // namespace
