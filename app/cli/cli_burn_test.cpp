// vantorel-cli writing DVD folders to image files and pseudo-drives, checked
// with lsdvd and isoinfo as a user would.
#include "app/cli/cli_arguments.h"

#include "engines/burn/test_support/dvd_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;
using namespace burn_test;

namespace vt::cli {
namespace {

std::string cli() { return BinDir() + "/vantorel-cli"; }

// The 32-bit big-endian number at offset of a file.
uint32_t bigEndianAt(const std::string &file, size_t offset)
{
    std::ifstream in(file, std::ios::binary);
    in.seekg(std::streamoff(offset));
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char *>(b), 4);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

// The first extent isoinfo -l lists for a file name.
long extentOf(const std::string &listing, const std::string &name)
{
    const std::regex line(R"(\[\s*(\d+) \d+\]\s+)" + name + ";1");
    std::smatch m;
    return std::regex_search(listing, m, line) ? std::stol(m[1]) : -1;
}

TEST(BurnArguments, BurnCommandAndBuildOptions)
{
    const struct {
        std::vector<std::string> args;
        const char *error;  // "" when usable
    } cases[] = {
        {{"burn", "DVD", "--iso", "d.iso"}, ""},
        {{"burn", "DVD", "--burn", "0", "--speed", "4", "--erase"}, ""},
        {{"burn", "DVD"}, "burn needs --iso FILE or --burn DEVICE"},
        {{"burn", "--iso", "d.iso"}, "burn needs a DVD folder"},
        {{"burn", "DVD", "--iso", "d.iso", "--burn", "0"}, "--iso and --burn cannot be used together"},
        {{"burn", "DVD", "--burn", "0", "--speed", "fast"}, "--speed takes"},
        {{"burn", "DVD", "--iso"}, "--iso needs a value"},
        {{"build", "clip.mp4", "--iso", "d.iso"}, ""},
        {{"build", "--erase", "clip.mp4"}, "--speed and --erase go with --burn or --iso"},
        {{"drives"}, ""},
    };
    for (const auto &c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.error.substr(0, std::strlen(c.error)), c.error) << ::testing::PrintToString(c.args);
        if (!*c.error) {
            EXPECT_TRUE(line.error.empty()) << line.error;
        }
    }
    const CommandLine build = ParseCommandLine({"build", "a.mp4", "--burn", "stdio:/x.iso", "--speed", "8"});
    EXPECT_EQ(build.build.burn.device, "stdio:/x.iso");
    EXPECT_EQ(build.build.burn.speed, 8);
    ASSERT_EQ(build.build.clips.size(), 1u);
}

TEST(BurnCommand, BuildWritesAnImageThatPlayersAndToolsRead)
{
    const std::string folder = ScratchFolder("build-iso");
    const std::string clip = folder + "/clip.mp4";
    RunCommand({"ffmpeg", "-y", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:d=1", "-f",
                "lavfi", "-i", "sine=d=1", "-shortest", clip});
    const std::string image = folder + "/d.iso";
    const CommandResult run = RunCommand({cli(), "build", "-o", folder, "--work-folder", folder + "/work", "--label",
                                          "HOLIDAY", "--iso", image, clip});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Image: " + image), std::string::npos) << run.output;

    const CommandResult lsdvd = RunCommand({"lsdvd", image});
    EXPECT_NE(lsdvd.output.find("Disc Title: HOLIDAY"), std::string::npos) << lsdvd.output;
    EXPECT_NE(lsdvd.output.find("Title: 01"), std::string::npos) << lsdvd.output;
    const CommandResult info = RunCommand({"isoinfo", "-d", "-i", image});
    EXPECT_NE(info.output.find("Volume id: HOLIDAY"), std::string::npos) << info.output;

    const std::string videoTs = folder + "/HOLIDAY/VIDEO_TS";
    for (const fs::directory_entry &file : fs::directory_iterator(videoTs)) {
        const std::string name = file.path().filename().string();
        const std::string copy = folder + "/extracted_" + name;
        RunCommand({"sh", "-c", "isoinfo -i \"$0\" -x \"/VIDEO_TS/$1;1\" > \"$2\"", image, name, copy});
        EXPECT_EQ(FileChecksum(copy), FileChecksum(file.path().string())) << name;
    }
    // The manager's title table gives the title set's sector relative to
    // VIDEO_TS.IFO; the image must put it there.
    const std::string manager = videoTs + "/VIDEO_TS.IFO";
    const uint32_t titleTable = bigEndianAt(manager, 0xC4) * 2048;
    const uint32_t titleSetSector = bigEndianAt(manager, titleTable + 8 + 8);
    const std::string listing = RunCommand({"isoinfo", "-l", "-i", image}).output;
    EXPECT_EQ(extentOf(listing, "VTS_01_0.IFO") - extentOf(listing, "VIDEO_TS.IFO"), long(titleSetSector))
        << listing;
}

TEST(BurnCommand, AnImageThatHoldsDataIsReplacedOnlyWithErase)
{
    const std::string dvd = fs::path(AuthoredVideoTs()).parent_path().string();
    const std::string folder = ScratchFolder("replace");
    const std::string image = folder + "/d.iso";
    ASSERT_EQ(RunCommand({cli(), "burn", dvd, "--label", "FIRST", "--iso", image}).status, 0);
    const std::string first = FileChecksum(image);

    const CommandResult refused = RunCommand({cli(), "burn", dvd, "--label", "SECOND", "--iso", image});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.output.find("--erase"), std::string::npos) << refused.output;
    EXPECT_EQ(FileChecksum(image), first);

    const CommandResult erased = RunCommand({cli(), "burn", dvd, "--label", "SECOND", "--iso", image, "--erase"});
    ASSERT_EQ(erased.status, 0) << erased.output;
    EXPECT_NE(RunCommand({"isoinfo", "-d", "-i", image}).output.find("Volume id: SECOND"), std::string::npos);

    const std::string notes = folder + "/notes.txt";
    std::ofstream(notes) << "my notes\n";
    const CommandResult foreign = RunCommand({cli(), "burn", dvd, "--iso", notes, "--erase"});
    EXPECT_NE(foreign.status, 0);
    EXPECT_NE(foreign.output.find("not a disc image"), std::string::npos) << foreign.output;
    EXPECT_EQ(RunCommand({"cat", notes}).output, "my notes\n");
}

TEST(BurnCommand, PseudoDrivesRefuseWhatTheirDiscCannotTake)
{
    const std::string dvd = fs::path(AuthoredVideoTs()).parent_path().string();
    const std::string folder = ScratchFolder("drives");
    const std::string drives = "VANTOREL_BURN_DRIVES=stdio:" + folder + "/r.iso,type=DVD-R;stdio:" + folder +
                               "/small.iso,type=DVD+R,capacity=20000000;stdio:" + folder + "/rw.iso,type=DVD-RW";

    ASSERT_EQ(RunCommand({cli(), "burn", dvd, "--burn", "0"}, {drives}).status, 0);
    const std::string written = FileChecksum(folder + "/r.iso");
    const CommandResult again = RunCommand({cli(), "burn", dvd, "--burn", "0", "--erase"}, {drives});
    EXPECT_NE(again.status, 0);
    EXPECT_NE(again.output.find("Unknown or Unsupported disc"), std::string::npos) << again.output;
    EXPECT_EQ(FileChecksum(folder + "/r.iso"), written);

    const CommandResult small = RunCommand({cli(), "burn", dvd, "--burn", "stdio:" + folder + "/small.iso"}, {drives});
    EXPECT_NE(small.status, 0);
    EXPECT_NE(small.output.find("Disc size smaller than DVD size"), std::string::npos) << small.output;
    EXPECT_FALSE(fs::exists(folder + "/small.iso"));

    ASSERT_EQ(RunCommand({cli(), "burn", dvd, "--burn", "2"}, {drives}).status, 0);
    EXPECT_NE(RunCommand({cli(), "burn", dvd, "--burn", "2"}, {drives}).status, 0);
    EXPECT_EQ(RunCommand({cli(), "burn", dvd, "--burn", "2", "--erase"}, {drives}).status, 0);

    const CommandResult list = RunCommand({cli(), "drives"}, {drives});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.output.find("0: stdio:" + folder + "/r.iso\n"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("2: stdio:" + folder + "/rw.iso\n"), std::string::npos) << list.output;
    const std::regex media(R"(media   (DVD-R), not writable\n(.|\n)*media   (DVD\+R)[^,]*, blank\n(.|\n)*)"
                           R"(media   (DVD-R/?W), holds data \(rewritable\)\n   label   DVD\n)");
    EXPECT_TRUE(std::regex_search(list.output, media)) << list.output;
}

TEST(BurnCommand, AFolderWithoutVideoTsIsRefused)
{
    const std::string folder = ScratchFolder("empty-dvd");
    const CommandResult run = RunCommand({cli(), "burn", folder, "--iso", folder + "/d.iso"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("No DVD folder to burn!"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(folder + "/d.iso"));
}

} // namespace
} // namespace vt::cli
