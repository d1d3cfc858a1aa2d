#include "app/common/ui_language.h"

#include "app/common/ui_text_table.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::shell;
using vt::test::TempFolder;

const char *kGerman =
    "[Text]\n"
    "13=Englisch\n"
    "154=Erste Zeile#1zweite#2Zeile\n"
    "155=\n"
    "[OptionWindow]\n"
    "Label3-Caption=* Neustart erforderlich\n"
    "Label3-FontName=DejaVu Sans\n"
    "Label3-FontSize=9\n"
    "suiCheckBox_DeleteTemp-Caption= Temporäre Dateien löschen\n"
    "suiCheckBox_NTSC-Caption=NTSC\n"
    "suiCheckBox_NTSC-FontSize=abc\n"
    "suiImageButton_Ok-Hint=Übernehmen\n"
    "suiImageButton_Ok-Caption=ignored for picture buttons\n"
    "Edit1-Caption=not a captioned class\n";

TEST(UiTextTableTest, HoldsTheNumberedTextsVerbatim)
{
    EXPECT_STREQ(BuiltInUIText(0), "Video : Size ");
    EXPECT_STREQ(BuiltInUIText(61), "Unknown or Unsupported disc, please insert another blank disc and click \"OK\" "
                                    "to continue!\nClick \"Cancel\" to cancel burning process!");
    EXPECT_STREQ(BuiltInUIText(116), " File Name");
    EXPECT_STREQ(BuiltInUIText(148), "Add OK!");
    EXPECT_STREQ(BuiltInUIText(157), "Burn DVD-Folder or Vob files to DVD disc, so that you can play it on home DVD player.");
    for (int unused : {126, 133, 142, 143, -1, 158})
        EXPECT_EQ(BuiltInUIText(unused), nullptr) << unused;
}

TEST(UiLanguageTest, TextsComeFromTheLanguageFileOrTheBuiltInTable)
{
    TempFolder tmp;
    tmp.write("Lang/Deutsch.ini", kGerman);
    UiLanguage language(tmp.path() + "Lang/");

    EXPECT_EQ(language.GetUIText(13), "English");
    ASSERT_TRUE(language.LoadUILanguage("Deutsch.ini"));
    EXPECT_EQ(language.UILanguage, "Deutsch.ini");

    struct Case {
        int number;
        const char *expected;
    } cases[] = {
        {13, "Englisch"},
        {154, "Erste Zeile\nzweite Zeile"},
        {155, ""},
        {156, "Create DVD Menu from Vob files and output the DVD-Folder, you can burn it to DVD disc later."},
        {130, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(language.GetUIText(c.number), c.expected) << c.number;
}

TEST(UiLanguageTest, LoadingAMissingFileChangesNothing)
{
    TempFolder tmp;
    tmp.write("Lang/Deutsch.ini", kGerman);
    tmp.write("outside.ini", "[Text]\n13=Outside\n");
    UiLanguage language(tmp.path() + "Lang/");
    ASSERT_TRUE(language.LoadUILanguage("deutsch.INI"));
    EXPECT_EQ(language.UILanguage, "deutsch.INI");

    for (const char *bad : {"French.ini", "", "../outside.ini", "."})
        EXPECT_FALSE(language.LoadUILanguage(bad)) << bad;
    EXPECT_EQ(language.UILanguage, "deutsch.INI");
    EXPECT_EQ(language.GetUIText(13), "Englisch");

    language.closeLanguageIni();
    EXPECT_EQ(language.GetUIText(13), "English");
}

TEST(UiLanguageTest, CaptionsAndHintsOfControls)
{
    TempFolder tmp;
    tmp.write("Lang/Deutsch.ini", kGerman);
    UiLanguage language(tmp.path() + "Lang/");
    EXPECT_FALSE(language.captionTexts("OptionWindow", "Label3").hasCaption);
    EXPECT_EQ(language.hintText("OptionWindow", "suiImageButton_Ok"), "");
    ASSERT_TRUE(language.LoadUILanguage("Deutsch.ini"));

    const CaptionTexts label = language.captionTexts("OptionWindow", "Label3");
    EXPECT_TRUE(label.hasCaption);
    EXPECT_EQ(label.caption, "* Neustart erforderlich");
    EXPECT_EQ(label.fontName, "DejaVu Sans");
    EXPECT_EQ(label.fontSize, 9);

    // Caption without font: Tahoma 8, whatever the window designed.
    const CaptionTexts box = language.captionTexts("optionwindow", "SUICHECKBOX_DELETETEMP");
    EXPECT_EQ(box.caption, "Temporäre Dateien löschen");
    EXPECT_EQ(box.fontName, "Tahoma");
    EXPECT_EQ(box.fontSize, 8);
    EXPECT_EQ(language.captionTexts("OptionWindow", "suiCheckBox_NTSC").fontSize, 8);

    EXPECT_FALSE(language.captionTexts("OptionWindow", "suiCheckBox_PAL").hasCaption);
    EXPECT_FALSE(language.captionTexts("MainWindow", "Label3").hasCaption);

    EXPECT_EQ(language.hintText("OptionWindow", "suiImageButton_Ok"), "Übernehmen");
    EXPECT_EQ(language.hintText("OptionWindow", "suiImageButton_Cancel"), "");
}

TEST(UiLanguageTest, ListsLanguageFilesForTheMenu)
{
    TempFolder tmp;
    tmp.write("Lang/English.ini", "");
    tmp.write("Lang/x.ini", "");
    tmp.write("Lang/Deutsch.INI", "");
    tmp.write("Lang/readme.txt", "");
    tmp.write("Lang/folder.ini/inner", "");
    UiLanguage language(tmp.path() + "Lang/");
    EXPECT_EQ(language.languageFiles(), (std::vector<std::string> {"Deutsch.INI", "English.ini", "x.ini"}));
    EXPECT_EQ(UiLanguage::languageCaption("x.ini"), "x");
    EXPECT_EQ(UiLanguage::languageCaption(" English.ini "), "English");

    language.UILanguage = "english.ini";
    EXPECT_TRUE(language.isCurrentLanguage("English.ini"));
    EXPECT_FALSE(language.isCurrentLanguage("x.ini"));

    EXPECT_TRUE(UiLanguage(tmp.path() + "NoLang/").languageFiles().empty());
}

} // namespace
