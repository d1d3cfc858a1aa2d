// zif-run decode as a person runs it: exit status, what it prints, and the
// raw pictures it writes.
#include "plugins/ffmpeg/plugin_test_support.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

class ZifRunDecode : public fftest::PluginTest {
protected:
    int run(const std::string &args, std::string *out) { return fftest::runZifRun(args, out); }
};

TEST_F(ZifRunDecode, WritesTheRequestedPictures)
{
    ASSERT_TRUE(clip("-f lavfi -i testsrc=size=64x48:rate=25:duration=0.4 -f lavfi -i sine=d=0.4 -c:v mpeg4 -c:a aac v.mp4"));
    std::string out;
    ASSERT_EQ(run("decode '" + file("v.mp4") + "' --pixels rgb24 --resize 32x24 --raw '" + file("v.rgb") + "'", &out), 0);
    EXPECT_NE(out.find("ffmpeg.decoder.video.0: end of stream after 10 samples"), std::string::npos) << out;
    EXPECT_NE(out.find("ffmpeg.decoder.audio.0: end of stream"), std::string::npos) << out;
    EXPECT_NE(out.find(" 32x24"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(file("v.rgb")), 10u * 32u * 24u * 3u);
}

TEST_F(ZifRunDecode, BadInputGivesAnErrorStatus)
{
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"decode '" + file("missing.mp4") + "'", 1},
        {"decode x.mp4 --resize 0x10", 2},
        {"decode x.mp4 --pixels yuv422", 2},
        {"decode", 2},
    };
    for (const Case &c : cases) {
        std::string out;
        EXPECT_EQ(run(c.args, &out), c.status) << c.args;
    }
}

}  // namespace
