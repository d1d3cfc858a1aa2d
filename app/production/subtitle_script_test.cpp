#include "app/production/subtitle_script.h"

#include "app/production/xml_text.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

TEST(SubtitleScript, PalGolden)
{
    SubtitleScriptInput in;
    in.srtFile = "/w/subtitle.srt";
    in.fontSize = 24;
    in.fontFile = "/usr/share/fonts/x & y.ttf";
    in.pal = true;
    EXPECT_EQ(JoinCrLf(MakeSubtitleScript(in)),
              "<subpictures format=\"PAL\">\r\n"
              "   <stream>\r\n"
              "      <textsub filename=\"/w/subtitle.srt\" characterset=\"ISO-8859-1\"\r\n"
              "         fontsize=\"24\" font=\"/usr/share/fonts/x &amp; y.ttf\" horizontal-alignment=\"center\"\r\n"
              "         vertical-alignment=\"bottom\" left-margin=\"60\" right-margin=\"60\"\r\n"
              "         top-margin=\"20\" bottom-margin=\"30\"\r\n"
              "         subtitle-fps=\"25\" movie-fps=\"25\"\r\n"
              "         movie-width=\"720\" movie-height=\"576\"\r\n"
              "      />\r\n"
              "   </stream>\r\n"
              "</subpictures>\r\n");
}

TEST(SubtitleScript, NtscLines)
{
    SubtitleScriptInput in;
    in.srtFile = "a.srt";
    in.characterSet = "CP1251";
    const std::vector<std::string> lines = MakeSubtitleScript(in);
    EXPECT_EQ(lines[0], "<subpictures format=\"NTSC\">");
    EXPECT_EQ(lines[2], "      <textsub filename=\"a.srt\" characterset=\"CP1251\"");
    EXPECT_EQ(lines[6], "         subtitle-fps=\"29.97\" movie-fps=\"29.97\"");
    EXPECT_EQ(lines[7], "         movie-width=\"720\" movie-height=\"480\"");
}

} // namespace
} // namespace vt::production
