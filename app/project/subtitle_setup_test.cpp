#include "app/project/subtitle_setup.h"

#include "app/project/clip_record.h"
#include "app/common/settings.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::project {
namespace {

class SubtitleSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("vt_subtitle_setup_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        srt = (folder / "movie.srt").string();
        std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
        optionIni = (folder / "Option.ini").string();
        std::ofstream(optionIni) << "[Option]\nMenuLanguage=3\n";
        settings.subtitleFontSize = 24;
        settings.subtitleLanguageIndex = 2;
        clip.subtitleLanguageIndex = 7;
        clip.subtitleFontSize = 30;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string srt, optionIni;
    common::Settings settings;
    ClipRecord clip;
};

TEST_F(SubtitleSetupTest, OpeningWithoutFileShowsDefaultsButCancelKeepsTheClip)
{
    SubtitleSetup setup(clip, settings);
    EXPECT_EQ(setup.languageIndex, 2);
    EXPECT_EQ(setup.fontSize, 24);
    EXPECT_EQ(setup.statusText(), "No specified subtitle file");
    // Cancel: the session is dropped.
    EXPECT_EQ(clip.subtitleLanguageIndex, 7);
    EXPECT_EQ(clip.subtitleFontSize, 30);
}

TEST_F(SubtitleSetupTest, OkStoresClipSettingsAndTwoKeys)
{
    SubtitleSetup setup(clip, settings);
    setup.load(srt);
    EXPECT_EQ(setup.statusText(), "Subtitle File  : movie.srt");
    setup.languageIndex = 16;  // a user-defined language after the shipped ones
    setup.fontSize = 28;
    std::string error;
    ASSERT_TRUE(setup.ok(clip, settings, optionIni, &error)) << error;
    EXPECT_EQ(clip.subtitleFile, srt);
    EXPECT_TRUE(clip.subtitleShown());
    EXPECT_EQ(clip.subtitleLanguageIndex, 16);
    EXPECT_EQ(clip.subtitleFontSize, 28);
    EXPECT_EQ(settings.subtitleLanguageIndex, 16);
    EXPECT_EQ(settings.subtitleFontSize, 28);

    IniFile ini(optionIni);
    EXPECT_EQ(ini.readInt("Option", "SubtitleLanguage", -1), 16);
    EXPECT_EQ(ini.readInt("Option", "FontSize", -1), 28);
    EXPECT_EQ(ini.readInt("Option", "MenuLanguage", -1), 3);  // the menu language is not the subtitle's
}

TEST_F(SubtitleSetupTest, OpeningWithFileKeepsTheClipsChoice)
{
    clip.setSubtitleFile(srt);
    clip.subtitleEnabled = false;
    SubtitleSetup setup(clip, settings);
    EXPECT_EQ(setup.languageIndex, 7);
    EXPECT_EQ(setup.fontSize, 30);
    ASSERT_TRUE(setup.ok(clip, settings, optionIni));
    EXPECT_FALSE(clip.subtitleEnabled);  // an unchanged path leaves the marker alone
}

} // namespace
} // namespace vt::project
