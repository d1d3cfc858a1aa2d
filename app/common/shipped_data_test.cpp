// The data files the program folder ships with.
#include "app/common/region_list.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_table.h"
#include "app/common/extra_ui_texts.h"
#include "platform/dialog_filter.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iconv.h>

namespace {

using namespace vt::common;

const std::string kBin = std::string(VANTOREL_BIN_DIR) + "/";

TEST(ShippedDataTest, EnglishLanguageFileRepeatsTheBuiltInTexts)
{
    UiLanguage language(kBin + "Lang/");
    ASSERT_TRUE(language.LoadUILanguage("English.ini"));
    for (int n = 0; n < kUiTextCount; ++n) {
        if (BuiltInUIText(n)) {
            EXPECT_EQ(language.GetUIText(n), BuiltInUIText(n)) << n;
        }
    }
    const UiLanguage builtIn(kBin + "NoLanguages/");
    for (int n = kFirstExtraText; ExtraUIText(n); ++n)
        EXPECT_EQ(language.GetUIText(n), builtIn.GetUIText(n)) << n;
}

TEST(ShippedDataTest, GermanLanguageFileTranslatesEveryText)
{
    UiLanguage language(kBin + "Lang/");
    ASSERT_TRUE(language.LoadUILanguage("Deutsch.ini"));
    for (int n = 0; n < kUiTextCount; ++n) {
        if (!BuiltInUIText(n))
            continue;
        EXPECT_TRUE(language.LanguageIni->hasKey("Text", std::to_string(n))) << n;
    }
    for (int n = kFirstExtraText; ExtraUIText(n); ++n)
        EXPECT_TRUE(language.LanguageIni->hasKey("Text", std::to_string(n))) << n;
    EXPECT_EQ(language.GetUIText(148), "Hinzugefügt!");
    EXPECT_EQ(language.GetUIText(61).find('\n') != std::string::npos, true);
    // Leading spaces of column titles survive.
    EXPECT_EQ(language.GetUIText(116), " Dateiname");

    const CaptionTexts box = language.captionTexts("OptionWindow", "suiCheckBox_DeleteTemp");
    EXPECT_TRUE(box.hasCaption);
    EXPECT_EQ(box.caption, " Temporäre Dateien löschen");
    EXPECT_EQ(box.fontName, "DejaVu Sans");
    EXPECT_EQ(box.fontSize, 9);
    EXPECT_EQ(language.hintText("MainWindow", "suiImageButton_Exit"), "Schließen");
}

TEST(ShippedDataTest, RegionsUseFontsAndCharacterSetsOfThisSystem)
{
    RegionList regions(kBin + "Language.ini", kBin + "no-Subtitle.ini", kBin + "no-Subtitle.ini");
    ASSERT_GE(regions.shippedCount(), 11);
    EXPECT_EQ(regions.nameAt(0), "English");
    for (int i = 0; i < regions.shippedCount(); ++i) {
        const std::string name = regions.nameAt(i);
        EXPECT_NE(name, "Others") << i;
        EXPECT_TRUE(std::filesystem::is_regular_file(regions.GetRegionFontFile(i))) << name;
        const iconv_t cd = ::iconv_open("UTF-8", regions.GetRegionCharacterSet(i).c_str());
        EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << name << " " << regions.GetRegionCharacterSet(i);
        if (cd != reinterpret_cast<iconv_t>(-1))
            ::iconv_close(cd);
        EXPECT_EQ(regions.GetRegionLanguageCode(i).size(), 2u) << name;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(kDefaultRegionFontFile));
}

TEST(ShippedDataTest, OptionTemplateHasUsefulFilters)
{
    const vt::IniFile option(kBin + "Option.ini");
    ASSERT_TRUE(option.exists());
    EXPECT_EQ(option.readInt("Option", "DiscSizePerMin", 0), 30720);
    for (const char *key : {"OpenDialogFilter", "OpenDialogMusicFilter", "OpenVOBDialogFilter"}) {
        const std::string qt = vt::qtFileDialogFilter(option.readString("Option", key, ""));
        EXPECT_FALSE(qt.empty()) << key;
    }
    EXPECT_NE(vt::qtFileDialogFilter(option.readString("Option", "OpenDialogFilter", "")).find("*.[mM][pP]4"),
              std::string::npos);
}

} // namespace
