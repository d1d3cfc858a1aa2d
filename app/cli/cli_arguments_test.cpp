#include "app/cli/cli_arguments.h"

#include <gtest/gtest.h>

namespace vt::cli {
namespace {

CommandLine parse(std::vector<std::string> args)
{
    return ParseCommandLine(args);
}

TEST(CliArguments, Times)
{
    EXPECT_EQ(ParseTime("90"), 90);
    EXPECT_EQ(ParseTime("00:01:30"), 90);
    EXPECT_EQ(ParseTime("1:30"), 90);
    EXPECT_EQ(ParseTime("1:02:03"), 3723);
    for (const char *bad : {"", "-1", "1:60", "a", "1::2", "1:2:3:4", "1.5"})
        EXPECT_FALSE(ParseTime(bad)) << bad;
}

TEST(CliArguments, BuildWithClipOptions)
{
    const CommandLine line = parse({"build", "-o", "/tmp/o", "--label", "trip", "--pal", "--16:9", "--quality", "2",
                                    "--jobs", "3", "a.avi", "--trim", "10-00:01:00", "--stretch", "b.mp4", "--chapters", "0,5,9",
                                    "--subtitle", "b.srt", "c.mkv", "--stretch", "--letterbox", "--keep-vobs"});
    ASSERT_EQ(line.error, "");
    ASSERT_EQ(line.command, Command::Build);
    const BuildRequest &b = line.build;
    EXPECT_EQ(b.outputFolder, "/tmp/o");
    EXPECT_EQ(b.label, "trip");
    EXPECT_FALSE(b.ntsc);
    EXPECT_TRUE(b.wide);
    EXPECT_EQ(b.quality, 2);
    EXPECT_TRUE(b.keepVobs);
    EXPECT_EQ(b.jobs, 3);
    ASSERT_EQ(b.clips.size(), 3u);
    EXPECT_EQ(b.clips[0].path, "a.avi");
    EXPECT_EQ(b.clips[0].trimStart, 10);
    EXPECT_EQ(b.clips[0].trimEnd, 60);
    EXPECT_FALSE(b.clips[0].letterbox);
    EXPECT_EQ(b.clips[1].chapters, (std::vector<int32_t>{0, 5, 9}));
    EXPECT_EQ(b.clips[1].subtitle, "b.srt");
    EXPECT_TRUE(b.clips[1].letterbox);  // letterboxed unless --stretch, as in the desktop program
    EXPECT_TRUE(b.clips[2].letterbox);  // the last of --stretch and --letterbox wins
    EXPECT_FALSE(parse({"build", "a.avi"}).build.keepVobs);
    EXPECT_FALSE(parse({"build", "a.avi"}).build.jobs);  // the setting decides
}

TEST(CliArguments, FitToDisc)
{
    const BuildRequest sized = parse({"build", "a.avi", "--fit", "--disc-size", "40"}).build;
    EXPECT_TRUE(sized.fit);
    EXPECT_EQ(sized.discSizeMB, 40);
    const BuildRequest dvd5 = parse({"build", "--fit", "a.avi"}).build;
    EXPECT_TRUE(dvd5.fit);
    EXPECT_FALSE(dvd5.discSizeMB);  // the settings' DVD-5
    EXPECT_FALSE(parse({"build", "a.avi"}).build.fit);
}

TEST(CliArguments, Errors)
{
    const std::pair<std::vector<std::string>, const char *> cases[] = {
        {{"build"}, "build needs at least one clip"},
        {{"build", "--trim", "1-2", "a.avi"}, "--trim must follow a clip"},
        {{"build", "--stretch", "a.avi"}, "--stretch must follow a clip"},
        {{"build", "a.avi", "--trim", "5-2"}, "invalid trim"},
        {{"build", "a.avi", "--quality", "3"}, "--quality takes 0, 1 or 2"},
        {{"build", "a.avi", "--chapters", "1,x"}, "invalid chapter time"},
        {{"build", "a.avi", "--jobs", "-1"}, "--jobs takes 0 (automatic) to 64"},
        {{"build", "a.avi", "--jobs", "65"}, "--jobs takes 0 (automatic) to 64"},
        {{"build", "a.avi", "--bogus"}, "unknown option"},
        {{"build", "a.avi", "--fit", "--disc-size", "0"}, "--disc-size takes 1 to 8500 (MB)"},
        {{"build", "a.avi", "--fit", "--disc-size", "9000"}, "--disc-size takes 1 to 8500 (MB)"},
        {{"build", "a.avi", "--disc-size", "40"}, "--disc-size goes with --fit"},
        {{"build", "a.avi", "-o"}, "-o needs a value"},
        {{"probe"}, "probe needs at least one file"},
        {{"make"}, "unknown command"},
    };
    for (const auto &[args, message] : cases)
        EXPECT_NE(parse(args).error.find(message), std::string::npos) << args.back() << ": " << parse(args).error;
    EXPECT_EQ(parse({}).command, Command::Help);
    EXPECT_EQ(parse({"build", "--help"}).command, Command::Help);
}

} // namespace
} // namespace vt::cli
