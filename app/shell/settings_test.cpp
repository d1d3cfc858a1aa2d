// The windows that store one setting alone write the key the settings
// window loads it from, and values they hand over are held to the ranges
// loading applies.
#include "app/common/settings.h"

#include "platform/ini_file.h"
#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::shell;
using vt::IniFile;
using vt::test::TempFolder;

TEST(SettingsTest, SingleKeyWritesAreLoadedBack)
{
    TempFolder tmp;
    IniFile ini(tmp.path() + "Option.ini");
    ASSERT_TRUE(ini.writeBool(kOptionSection, optionKey(&Settings::ntsc), false));
    ASSERT_TRUE(ini.writeInt(kOptionSection, optionKey(&Settings::subtitleLanguageIndex), 7));
    ASSERT_TRUE(ini.writeInt(kOptionSection, optionKey(&Settings::subtitleFontSize), 31));

    const OptionFile loaded = readOptionFile(ini);
    EXPECT_FALSE(loaded.settings.ntsc);
    EXPECT_EQ(loaded.settings.subtitleLanguageIndex, 7);
    EXPECT_EQ(loaded.settings.subtitleFontSize, 31);
    EXPECT_TRUE(loaded.useDefault);
    EXPECT_EQ(loaded.uiLanguage, "Nodef");
}

TEST(SettingsTest, WrittenFileReadsBackTheSameValues)
{
    TempFolder tmp;
    IniFile ini(tmp.path() + "Option.ini");
    OptionFile values;
    values.settings.outputFolder = tmp.path() + "out/";
    values.settings.shape4x3 = false;
    values.settings.menuDuration = 60;
    values.settings.outputQuality = 2;
    values.settings.menuLanguageIndex = 3;
    values.useDefault = false;
    values.uiLanguage = "Deutsch.ini";
    // Hand-edited only: never written.
    values.settings.dvd5SizeKB = 1234;
    ASSERT_TRUE(writeOptionFile(ini, values));

    const OptionFile loaded = readOptionFile(ini);
    EXPECT_EQ(loaded.settings.outputFolder, tmp.path() + "out/");
    EXPECT_FALSE(loaded.settings.shape4x3);
    EXPECT_EQ(loaded.settings.menuDuration, 60);
    EXPECT_EQ(loaded.settings.outputQuality, 2);
    EXPECT_EQ(loaded.settings.menuLanguageIndex, 3);
    EXPECT_FALSE(loaded.useDefault);
    EXPECT_EQ(loaded.uiLanguage, "Deutsch.ini");
    EXPECT_FALSE(ini.hasKey(kOptionSection, "DVD5Size"));
    EXPECT_EQ(loaded.settings.dvd5SizeKB, Settings().dvd5SizeKB);
}

TEST(SettingsTest, HandedOverValuesAreHeldToTheLoadingRanges)
{
    struct Case {
        int Settings::*field;
        int64_t value;
        int expected;
    };
    const Case cases[] = {
        {&Settings::subtitleFontSize, 0, 20},                       // below one: the default
        {&Settings::subtitleFontSize, 5000, 200},                   // above the limit: the limit
        {&Settings::menuDuration, 1, kDurationMin},         // clamped
        {&Settings::menuSafeDistance, 51, kSafeDistanceMax},
        {&Settings::outputQuality, 3, 1},                 // outside 0…2: the default
        {&Settings::subtitleLanguageIndex, int64_t(1) << 40, 2147483647},  // saturated, not wrapped
    };
    for (const Case &c : cases)
        EXPECT_EQ(heldToRange(c.field, c.value), c.expected) << optionKey(c.field) << " " << c.value;
}

} // namespace
