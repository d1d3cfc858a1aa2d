// The facade over the burning library's pseudo-drives, as the windows and
// vantorel-cli use it.
#include "app/burn/burner_facade.h"
#include "app/burn/nms_dvd_engine.h"
#include "app/burn/starburn_engine.h"

#include "engines/burn/test_support/dvd_fixture.h"
#include "engines/converter/test_support/queue_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace burn_test;

namespace vt::burn {
namespace {

enum class Engine { StarBurn, NmsDvd };

// Both engines reach the same pseudo-drives; each test runs on both.
class Facade : public ::testing::TestWithParam<Engine> {
protected:
    bool starBurn() const { return GetParam() == Engine::StarBurn; }

    void open(const std::string &drives, const std::string &programFolder = BinDir() + "/")
    {
        ::setenv("VANTOREL_BURN_DRIVES", drives.c_str(), 1);
        auto engine = MakeBurnEngine(!starBurn(), programFolder, [this](LogChannel channel, int, const std::string &line) {
            if (channel == LogChannel::Status)
                status.push_back(line);
        });
        facade = std::make_unique<BurnerFacade>(std::move(engine), BurnerSettings{});
        facade->RegisterNotifyWindow(queue.target());
        ASSERT_TRUE(facade->InitDevices(true, true));
    }
    void TearDown() override
    {
        facade.reset();
        ::unsetenv("VANTOREL_BURN_DRIVES");
    }

    std::vector<intptr_t> posted(intptr_t first) const { return queue.lparams(kBurnerMessage, first); }
    bool logged(const std::string &line) const
    {
        return std::find(status.begin(), status.end(), line) != status.end();
    }
    // Writes the fixture to drive index as a finished disc.
    bool burnTo(int index, const std::string &videoTs = AuthoredVideoTs())
    {
        if (facade->CheckDisc(index) != kDiscReady)
            return false;
        facade->SelectSpeed(int(facade->WriteSpeeds(index, false).size()) - 1);
        facade->SetVolumeLabel("  HOLIDAY ");
        facade->SetSourceFolder(videoTs);
        return facade->BurnFolder();
    }

    corvane_test::QueueTarget queue;
    std::vector<std::string> status;
    std::unique_ptr<BurnerFacade> facade;
};

TEST_P(Facade, WithoutTheLibraryThereIsNoDevice)
{
    open("stdio:" + ScratchFolder("nolib") + "/d.iso", "/nonexistent/");
    EXPECT_EQ(facade->DeviceName(0), "");
    EXPECT_EQ(facade->CheckDisc(0), kNoUsableDevice);
    EXPECT_TRUE(facade->WriteSpeeds(0, true).empty());
    EXPECT_FALSE(facade->BurnFolder());
    EXPECT_EQ(posted(1), std::vector<intptr_t>{0});  // discovery still answers
}

TEST_P(Facade, CheckDiscByMediaAndContents)
{
    const std::string folder = ScratchFolder("check");
    open("stdio:" + folder + "/rw.iso,type=DVD+RW;stdio:" + folder + "/r.iso,type=DVD-R;stdio:" + folder +
         "/cd.iso,type=CD-R;stdio:" + folder + "/ram.iso,type=DVD-RAM");
    EXPECT_EQ(facade->DeviceName(0), starBurn() ? "Image Writer VANTOREL 1.0"
                                                : "VANTOREL Image Writer 1.0 (stdio:" + folder + "/rw.iso)");
    EXPECT_EQ(facade->DeviceName(4), "");
    EXPECT_EQ(facade->CheckDisc(0), kDiscReady);
    EXPECT_EQ(facade->MediaName(), starBurn() ? "DVD+RW" : " DVD+R/W Media.");
    EXPECT_EQ(facade->CheckDisc(1), kDiscReady);
    EXPECT_EQ(facade->CheckDisc(2), kNoUsableDisc);
    // The second engine takes rewritable and write-once DVDs only.
    EXPECT_EQ(facade->CheckDisc(3), starBurn() ? kDiscReady : kNoUsableDisc);
    EXPECT_EQ(facade->CheckDisc(-1), kNoUsableDevice);
    EXPECT_EQ(facade->CheckDisc(9), kNoUsableDevice);

    ASSERT_TRUE(burnTo(0)) << ::testing::PrintToString(status);
    ASSERT_TRUE(burnTo(1));
    EXPECT_EQ(facade->CheckDisc(0), kDiscMustBeErased);
    EXPECT_EQ(facade->CheckDisc(1), kNoUsableDisc);
    EXPECT_GT(facade->UsedMB(), 1.0);
    EXPECT_EQ(facade->SessionCount(), 1);
}

TEST_P(Facade, BurnReportsStepsAndProgressThatEndsAt100)
{
    const std::string image = ScratchFolder("burn") + "/d.iso";
    open("stdio:" + image + ",type=DVD+R,rate=1200,speeds=5540/11080");
    const std::vector<std::string> expected =
        starBurn() ? std::vector<std::string>{"4.0x", "8.0x"} : std::vector<std::string>{"8 x", "4 x"};
    EXPECT_EQ(facade->WriteSpeeds(0, true), expected);
    ASSERT_TRUE(burnTo(0)) << ::testing::PrintToString(status);
    if (starBurn()) {
        for (const char *line : {"Started", "Unit is ready!", "Track-At-Once is supported!",
                                 "Getting BUP successfully!", "Setting speed 8.0x (11080 KBps) successfully!",
                                 "Closing session success!", "Burning Complete!"})
            EXPECT_TRUE(logged(line)) << line;
    }
    const std::vector<intptr_t> progress = posted(3);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << ::testing::PrintToString(progress);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(posted(2), std::vector<intptr_t>{1});
    const CommandResult info = RunCommand({"isoinfo", "-d", "-i", image});
    EXPECT_NE(info.output.find("Volume id: HOLIDAY"), std::string::npos) << info.output;
}

TEST_P(Facade, CallsDuringABurnAreRefused)
{
    open("stdio:" + ScratchFolder("busy") + "/d.iso,rate=2000");
    std::vector<bool> nested;
    queue.on_pump([&] {
        if (facade->busy() && nested.empty()) {
            nested.push_back(facade->BurnFolder());
            nested.push_back(facade->EraseDisc());
            nested.push_back(facade->CheckDisc(0) != kNoUsableDevice);
        }
    });
    ASSERT_TRUE(burnTo(0));
    EXPECT_EQ(nested, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(posted(2), std::vector<intptr_t>{1});
}

TEST_P(Facade, EraseEmptiesARewritableDiscOrReportsTheFailure)
{
    const std::string folder = ScratchFolder("erase");
    open("stdio:" + folder + "/a.iso,type=DVD-RW;stdio:" + folder + "/b.iso,type=DVD+RW,erase=fail");
    ASSERT_TRUE(burnTo(0));
    ASSERT_TRUE(burnTo(1));
    ASSERT_EQ(facade->CheckDisc(0), kDiscMustBeErased);
    EXPECT_TRUE(facade->EraseDisc());
    EXPECT_EQ(facade->CheckDisc(0), kDiscReady);
    ASSERT_EQ(facade->CheckDisc(1), kDiscMustBeErased);
    const std::string before = FileChecksum(folder + "/b.iso");
    EXPECT_FALSE(facade->EraseDisc());
    EXPECT_EQ(FileChecksum(folder + "/b.iso"), before);
    EXPECT_EQ(posted(4), (std::vector<intptr_t>{1, 0}));
}

TEST_P(Facade, FailuresEndTheBurnWithTheirStatusText)
{
    const std::string folder = ScratchFolder("fail");
    open("stdio:" + folder + "/small.iso,type=DVD+R,capacity=409600;stdio:" + folder + "/z.iso");
    EXPECT_FALSE(burnTo(0));
    if (starBurn()) {
        EXPECT_TRUE(logged("Burning Error!"));
    }
    EXPECT_FALSE(fs::exists(folder + "/small.iso"));

    const std::string zeroed = CopyOfAuthoredVideoTs("fail-zeroed");
    std::ofstream(zeroed + "/VIDEO_TS.IFO", std::ios::binary | std::ios::trunc) << std::string(4096, '\0');
    EXPECT_FALSE(burnTo(1, zeroed));
    EXPECT_TRUE(logged("Creating DVD-Video file system failed!"));
    EXPECT_FALSE(fs::exists(folder + "/z.iso"));
    EXPECT_EQ(posted(2), (std::vector<intptr_t>{0, 0}));
}

TEST_P(Facade, AnImageMakerCutShortFailsTheBurn)
{
    const std::string bin = ScratchFolder("fake-genisoimage");
    std::ofstream(bin + "/genisoimage") << "#!/bin/sh\n"
                                           "for a in \"$@\"; do [ \"$a\" = -print-size ] && exec /usr/bin/genisoimage \"$@\"; done\n"
                                           "/usr/bin/genisoimage \"$@\" | head -c 200000\n";
    ::chmod((bin + "/genisoimage").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin + ":" + path).c_str(), 1);
    open("stdio:" + ScratchFolder("cut-short") + "/d.iso,type=DVD+R");
    EXPECT_FALSE(burnTo(0));
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(posted(2), std::vector<intptr_t>{0});
}

INSTANTIATE_TEST_SUITE_P(BothEngines, Facade, ::testing::Values(Engine::StarBurn, Engine::NmsDvd),
                         [](const auto &info) { return info.param == Engine::StarBurn ? "StarBurn" : "NmsDvd"; });

} // namespace
} // namespace vt::burn
