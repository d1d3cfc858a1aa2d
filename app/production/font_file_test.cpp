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

} // namespace
} // namespace vt::production
