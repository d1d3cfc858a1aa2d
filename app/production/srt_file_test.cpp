#include "app/production/srt_file.h"

#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::production {
namespace {

TEST(SrtFile, ReadsTheFormsFoundInTheWild)
{
    const std::vector<SrtCue> expected{{1000, 2500, {"Hello", "world"}}, {3000, 4000, {"Bye"}}};
    const std::pair<const char *, std::string> cases[] = {
        {"plain", "1\n00:00:01,000 --> 00:00:02,500\nHello\nworld\n\n2\n00:00:03,000 --> 00:00:04,000\nBye\n"},
        {"CRLF and trailing blank lines",
         "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\nworld\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n\r\n\r\n"},
        {"no cue numbers, dots", "00:00:01.000 --> 00:00:02.500\nHello\nworld\n\n00:00:03.000 --> 00:00:04.000\nBye"},
        {"position hints, short milliseconds",
         "1\n0:00:01,0 --> 0:00:02,5 X1:10 X2:20\nHello\nworld\n\n2\n00:00:03,000-->00:00:04,000\nBye\n"},
        {"missing blank line", "1\n00:00:01,000 --> 00:00:02,500\nHello\nworld\n2\n00:00:03,000 --> 00:00:04,000\nBye\n"},
        {"blank lines first", "\n\n  \n1\n00:00:01,000 --> 00:00:02,500\nHello\nworld\n\n\n\n2\n00:00:03,000 --> 00:00:04,000\nBye\n"},
    };
    for (const auto &[name, text] : cases) {
        const SrtReadResult read = ParseSrt(text);
        EXPECT_TRUE(read.ok()) << name << ": " << read.error;
        EXPECT_EQ(read.cues, expected) << name;
    }
}

TEST(SrtFile, NamesTheFirstBadLine)
{
    struct Case {
        std::string text;
        int line;
        const char *says;
    } const cases[] = {
        {"", 0, "holds no subtitles"},
        {"\r\n\r\n  \n", 0, "holds no subtitles"},
        {"just some text\n", 1, "found \"just some text\""},
        {"1\n00:00:01,000 -> 00:00:02,000\nHi\n", 2, "expected a time line"},
        {"1\n00:00:01,000 --> 00:00:02,000\nHi\n\n2\n00:61:00,000 --> 00:62:00,000\nHo\n", 6, "expected a time line"},
        {"1\n00:00:05,000 --> 00:00:02,000\nHi\n", 2, "ends before it starts"},
        {"1\n00:00:01,000 --> 00:00:02,000\nHi\n\n7\n", 5, "the file ends after a cue number"},
        {"1\n00:00:01,000 --> 00:00:02,000\nHi\n\nnot a cue\n", 5, "found \"not a cue\""},
    };
    for (const Case &c : cases) {
        const SrtReadResult read = ParseSrt(c.text);
        EXPECT_FALSE(read.ok()) << c.text;
        EXPECT_EQ(read.errorLine, c.line) << c.text;
        EXPECT_NE(read.error.find(c.says), std::string::npos) << read.error;
        EXPECT_TRUE(read.cues.empty());
    }
}

std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(SrtFile, TellsUtf8FromOtherCharacterSets)
{
    const std::string cue = "1\n00:00:01,000 --> 00:00:02,000\n";
    struct Case {
        const char *name;
        std::string bytes;
        bool utf8;
        std::string text;  // the first line, as parsed
    } const cases[] = {
        {"UTF-8", cue + "Caf\xC3\xA9 cr\xC3\xA8me \xE4\xBD\xA0\xE5\xA5\xBD\n", true,
         "Caf\xC3\xA9 cr\xC3\xA8me \xE4\xBD\xA0\xE5\xA5\xBD"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + cue + "Caf\xC3\xA9\n", true, "Caf\xC3\xA9"},
        {"plain ASCII", cue + "Hello\n", true, "Hello"},
        {"ISO-8859-1", cue + "Caf\xE9 cr\xE8me\n", false, "Caf\xE9 cr\xE8me"},
        {"GB18030", cue + "\xC4\xE3\xBA\xC3\n", false, "\xC4\xE3\xBA\xC3"},
        {"overlong UTF-8 form", cue + "\xC0\xAF\n", false, "\xC0\xAF"},
        {"UTF-16LE with a byte-order mark", utf16(u"\uFEFF1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\u00E9\r\n", false),
         true, "Caf\xC3\xA9"},
        {"UTF-16BE with a byte-order mark", utf16(u"\uFEFF1\n00:00:01,000 --> 00:00:02,000\n\U0001F600\n", true),
         true, "\xF0\x9F\x98\x80"},
    };
    for (const Case &c : cases) {
        const SrtReadResult read = ParseSrt(c.bytes);
        ASSERT_TRUE(read.ok()) << c.name << ": " << read.error;
        EXPECT_EQ(read.utf8, c.utf8) << c.name;
        ASSERT_EQ(read.cues.size(), 1u) << c.name;
        EXPECT_EQ(read.cues[0].lines, std::vector<std::string>{c.text}) << c.name;
    }
}

TEST(SrtFile, CuesFollowTheTrim)
{
    const std::vector<SrtCue> cues{
        {0, 1500, {"before"}}, {1500, 2500, {"across the start"}}, {3000, 4000, {"inside"}},
        {5500, 6500, {"across the end"}}, {6000, 7000, {"after"}}};
    // Kept part 2 s to 6 s.
    const std::vector<SrtCue> kept{{0, 500, {"across the start"}}, {1000, 2000, {"inside"}}, {3500, 4000, {"across the end"}}};
    EXPECT_EQ(CuesInRange(cues, 2000, 6000), kept);
    // Untrimmed end: everything from the start on, shifted.
    EXPECT_EQ(CuesInRange(cues, 2000, -1).back(), (SrtCue{4000, 5000, {"after"}}));
    EXPECT_EQ(CuesInRange(cues, 0, -1), cues);
    EXPECT_TRUE(CuesInRange(cues, 8000, 9000).empty());
}

TEST(SrtFile, WritesWhatItReads)
{
    const std::vector<SrtCue> cues{{500, 2000, {"Bonjour", "<i>le monde</i>"}}, {3723004, 3724000, {"late"}}};
    const std::string text = FormatSrt(cues);
    EXPECT_EQ(text, "1\n00:00:00,500 --> 00:00:02,000\nBonjour\n<i>le monde</i>\n\n"
                    "2\n01:02:03,004 --> 01:02:04,000\nlate\n\n");
    EXPECT_EQ(ParseSrt(text).cues, cues);
}

TEST(SrtFile, FileErrorsNameTheFile)
{
    const std::string folder = corvane_test::scratch_dir() + "/srt_file/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "empty.srt");
    std::ofstream(folder + "bad.srt") << "1\n00:00:01,000 --> 00:00:02,000\nok\n\n2\nsoon\n";
    EXPECT_EQ(ReadSrtFile(folder + "empty.srt").error, "Subtitle file " + folder + "empty.srt: it holds no subtitles.");
    EXPECT_EQ(ReadSrtFile(folder + "bad.srt").error,
              "Subtitle file " + folder +
                  "bad.srt, line 6: expected a time line such as \"00:00:01,000 --> 00:00:04,000\", found \"soon\".");
    EXPECT_NE(ReadSrtFile(folder + "gone.srt").error.find("can not be read"), std::string::npos);
}

} // namespace
} // namespace vt::production
