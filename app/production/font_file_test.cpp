#include "app/production/font_file.h"

#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::production {
namespace {

TEST(FontFile, ProgramFontsFirstThenFontconfig)
{
    const std::string program = corvane_test::scratch_dir() + "/fontprog/";
    std::filesystem::create_directories(program + "Fonts");
    std::ofstream(program + "Fonts/arial.ttf") << "font";
    EXPECT_EQ(ResolveFontFile("ARIAL.TTF", program), program + "Fonts/arial.ttf");

    const std::string elsewhere = corvane_test::scratch_dir() + "/nofonts/";
    std::filesystem::create_directories(elsewhere);
    for (const char *name : {"ARIAL.TTF", "", "0", "NoSuchFontAnywhere.ttf"}) {
        const std::string resolved = ResolveFontFile(name, elsewhere);
        EXPECT_TRUE(std::filesystem::is_regular_file(resolved)) << name << " → " << resolved;
    }
    // Arial is served by a metric-compatible family.
    EXPECT_NE(ResolveFontFile("ARIAL.TTF", elsewhere).find("Liberation"), std::string::npos);

    const std::string dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (std::filesystem::exists(dejavu)) {
        EXPECT_EQ(ResolveFontFile(dejavu, elsewhere), dejavu);
    }
}

TEST(FontFile, FallsBackToAFontThatHasTheCharacters)
{
    const std::string dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_TRUE(std::filesystem::exists(dejavu));
    EXPECT_EQ(FontCoveringText(dejavu, "Caf\xC3\xA9 cr\xC3\xA8me \xD0\x9F\xD1\x80\xD0\xB8"), dejavu);
    EXPECT_EQ(FontCoveringText(dejavu, "caf\xE9"), dejavu);  // not UTF-8: nothing to tell
    // Chinese is not in DejaVu Sans; an installed CJK font has both lines.
    const std::string text = "Caf\xC3\xA9\n\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C";
    const std::string covering = FontCoveringText(dejavu, text);
    EXPECT_NE(covering, dejavu);
    EXPECT_TRUE(std::filesystem::is_regular_file(covering)) << covering;
    EXPECT_EQ(FontCoveringText(covering, text), covering);
}

} // namespace
} // namespace vt::production
