// The windows that store one setting alone write the key the settings
// window loads it from, and values they hand over are held to the ranges
// loading applies.
#include "app/shell/settings.h"

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
    ASSERT_TRUE(ini.writeBool(kOptionSection, optionKey(&Settings::b_VideoForamt), false));
    ASSERT_TRUE(ini.writeInt(kOptionSection, optionKey(&Settings::i_SubTitleLanguageCodeIndex), 7));
    ASSERT_TRUE(ini.writeInt(kOptionSection, optionKey(&Settings::i_FontSize), 31));

    const OptionFile loaded = readOptionFile(ini);
    EXPECT_FALSE(loaded.settings.b_VideoForamt);
    EXPECT_EQ(loaded.settings.i_SubTitleLanguageCodeIndex, 7);
    EXPECT_EQ(loaded.settings.i_FontSize, 31);
    EXPECT_TRUE(loaded.useDefault);
    EXPECT_EQ(loaded.uiLanguage, "Nodef");
}

TEST(SettingsTest, WrittenFileReadsBackTheSameValues)
{
    TempFolder tmp;
    IniFile ini(tmp.path() + "Option.ini");
    OptionFile values;
    values.settings.g_s_OutputFolder = tmp.path() + "out/";
    values.settings.b_4_3 = false;
    values.settings.i_MenuDuration = 60;
    values.settings.g_i_OutputQuality = 2;
    values.settings.i_MenuLanguageCodeIndex = 3;
    values.useDefault = false;
    values.uiLanguage = "Deutsch.ini";
    // Hand-edited only: never written.
    values.settings.i_DVD5Size = 1234;
    ASSERT_TRUE(writeOptionFile(ini, values));

    const OptionFile loaded = readOptionFile(ini);
    EXPECT_EQ(loaded.settings.g_s_OutputFolder, tmp.path() + "out/");
    EXPECT_FALSE(loaded.settings.b_4_3);
    EXPECT_EQ(loaded.settings.i_MenuDuration, 60);
    EXPECT_EQ(loaded.settings.g_i_OutputQuality, 2);
    EXPECT_EQ(loaded.settings.i_MenuLanguageCodeIndex, 3);
    EXPECT_FALSE(loaded.useDefault);
    EXPECT_EQ(loaded.uiLanguage, "Deutsch.ini");
    EXPECT_FALSE(ini.hasKey(kOptionSection, "DVD5Size"));
    EXPECT_EQ(loaded.settings.i_DVD5Size, Settings().i_DVD5Size);
}

TEST(SettingsTest, HandedOverValuesAreHeldToTheLoadingRanges)
{
    struct Case {
        int Settings::*field;
        int64_t value;
        int expected;
    };
    const Case cases[] = {
        {&Settings::i_FontSize, 0, 20},                       // below one: the default
        {&Settings::i_FontSize, 5000, 200},                   // above the limit: the limit
        {&Settings::i_MenuDuration, 1, kDurationMin},         // clamped
        {&Settings::i_CreateMenuSafeDistance, 51, kSafeDistanceMax},
        {&Settings::g_i_OutputQuality, 3, 1},                 // outside 0…2: the default
        {&Settings::i_SubTitleLanguageCodeIndex, int64_t(1) << 40, 2147483647},  // saturated, not wrapped
    };
    for (const Case &c : cases)
        EXPECT_EQ(heldToRange(c.field, c.value), c.expected) << optionKey(c.field) << " " << c.value;
}

} // namespace
