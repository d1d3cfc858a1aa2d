// The device layer and the facade on scripted drives (the stand-in burning
// library): speeds drives answer, late progress, padding, erasing.
#include "app/burn/burn_dvd_video.h"
#include "app/burn/burner_facade.h"
#include "app/burn/nms_dvd_engine.h"
#include "app/burn/starburn_engine.h"

#include "engines/burn/test_support/dvd_fixture.h"
#include "engines/converter/test_support/queue_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace burn_test;

namespace vt::burn {
namespace {

std::string testLibDir()
{
    const char *dir = std::getenv("VANTOREL_TEST_LIB_DIR");
    return std::string(dir && *dir ? dir : VANTOREL_TEST_LIB_DIR) + "/";
}

std::string fakeLibrary() { return testLibDir() + "libstarburn.so"; }

// Writes script as drives.ini in a fresh scratch folder and points the
// stand-in library at it; returns the file.
std::string useDriveScript(const std::string &folder, const std::string &script)
{
    const std::string file = ScratchFolder(folder) + "/drives.ini";
    std::ofstream(file) << script;
    ::setenv("VANTOREL_FAKE_BURN_SCRIPT", file.c_str(), 1);
    return file;
}

class ScriptedDrives : public ::testing::Test {
protected:
    void open(const std::string &script)
    {
        scriptFile = useDriveScript("script", script);
        facade = std::make_unique<BurnerFacade>(std::make_unique<StarBurnEngine>(fakeLibrary(), nullptr),
                                                BurnerSettings{});
        facade->RegisterNotifyWindow(queue.target());
        ASSERT_TRUE(facade->InitDevices(false, true));
    }
    void TearDown() override
    {
        facade.reset();
        ::unsetenv("VANTOREL_FAKE_BURN_SCRIPT");
    }
    std::vector<intptr_t> posted(intptr_t first) const { return queue.lparams(kBurnerMessage, first); }

    std::string scriptFile;
    corvane_test::QueueTarget queue;
    std::unique_ptr<BurnerFacade> facade;
};

TEST_F(ScriptedDrives, SpeedsAreLabelledFromWhatTheDriveAccepts)
{
    open("[drive0]\ntype=13\nspeeds=5540/11080/16620\nanswers=1385:5540/2770:5540/5540:5540/11080:11080/16620:16620\n"
         "[drive1]\ntype=9\nspeeds=4155/5540\nanswers=5540:5000\n"
         "[drive2]\ntype=2\nspeeds=1400\n[drive3]\ntype=1\n");
    EXPECT_EQ(facade->WriteSpeeds(0, true), (std::vector<std::string>{"4.0x", "8.0x", "12.0x"}));
    EXPECT_EQ(facade->WriteSpeeds(1, true), (std::vector<std::string>{"3.0x", "4.0x"}));
    EXPECT_EQ(facade->WriteSpeeds(2, true), (std::vector<std::string>{"8.0x"}));
    EXPECT_TRUE(facade->WriteSpeeds(3, true).empty());
    EXPECT_TRUE(facade->WriteSpeeds(9, true).empty());
    EXPECT_EQ(facade->CheckDisc(2), kNoUsableDisc);  // a CD-R
}

TEST_F(ScriptedDrives, ALateFirstProgressIsStillReportedAndPaddingIsPosted)
{
    open("[drive0]\ntype=5\nlate_progress_ms=1500\nburn_ms=1200\npadding=1\n");
    ASSERT_EQ(facade->CheckDisc(0), kDiscReady);
    facade->SelectSpeed(0);
    facade->SetSourceFolder(AuthoredVideoTs());
    facade->SetVolumeLabel("LATE");
    ASSERT_TRUE(facade->BurnFolder());
    const std::vector<intptr_t> progress = posted(3);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(posted(4), (std::vector<intptr_t>{0, 1}));
    EXPECT_EQ(posted(2), std::vector<intptr_t>{1});
    std::ifstream log(scriptFile + ".log");
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line, "burn " + AuthoredVideoTs() + " LATE");
}

TEST_F(ScriptedDrives, AnEraseEndsItsTickerWhateverItsOutcome)
{
    open("[drive0]\ntype=7\ndata=1\nused=1000000\nspeeds=2770/5540\n[drive1]\ntype=8\ndata=1\nerase=fail\n");
    for (int drive : {0, 1}) {
        ASSERT_EQ(facade->CheckDisc(drive), kDiscMustBeErased);
        const auto started = std::chrono::steady_clock::now();
        const bool erased = facade->EraseDisc();
        // The estimate is minutes; the ticker must not hold the erase up.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(erased, drive == 0);
        EXPECT_EQ(facade->CheckDisc(drive), drive == 0 ? kDiscReady : kDiscMustBeErased);
    }
    EXPECT_EQ(posted(4), (std::vector<intptr_t>{1, 0}));
}

TEST_F(ScriptedDrives, ADeviceThatIsNotReadyCannotBurn)
{
    open("[drive0]\ntype=13\nready=0\n");
    EXPECT_EQ(facade->CheckDisc(0), kNoUsableDisc);
}

// The stand-in library started on a drive script, shut down after the test.
class ScriptedLibrary : public ::testing::Test {
protected:
    void start(const std::string &folder, const std::string &script)
    {
        useDriveScript(folder, script);
        std::string error;
        library = StarBurnLibrary::open(fakeLibrary(), error);
        ASSERT_TRUE(library) << error;
        ASSERT_EQ(library->upStartEx(STARBURN_VENDOR_INIT, uint32_t(std::strlen(STARBURN_VENDOR_INIT))), STARBURN_OK);
        started = true;
    }
    void TearDown() override
    {
        if (started)
            library->downShut();
        ::unsetenv("VANTOREL_FAKE_BURN_SCRIPT");
    }

    std::shared_ptr<StarBurnLibrary> library;
    bool started = false;
};
using CDeviceProgress = ScriptedLibrary;
using CDeviceErase = ScriptedLibrary;
using CDeviceCopies = ScriptedLibrary;

TEST_F(CDeviceProgress, NeverGoesBackOrLeavesZeroToHundred)
{
    ASSERT_NO_FATAL_FAILURE(start("glitches", "[drive0]\ntype=13\nglitches=1\nburn_ms=200\n"));
    CDevice device(library, "CdRom0");
    ASSERT_TRUE(device.RefreshMedia());
    std::vector<int> seen;
    device.setProgressHook([&](int event) {
        if (event == STARBURN_EVENT_WRITE_PROGRESS)
            seen.push_back(device.progress());
    });
    DvdVideoBurnOptions options;
    options.videoTsFolder = AuthoredVideoTs();
    ASSERT_TRUE(BurnDVDVideo(device, options));
    seen.push_back(device.progress());
    // The hook runs before each event is taken in: seen[i] is the value
    // after event i - 1. The first glitch is half way.
    ASSERT_GE(seen.size(), 6u);
    EXPECT_EQ(seen[1], 50);
    EXPECT_EQ(seen[2], 50);  // a total of 0 keeps the last value
    EXPECT_EQ(seen[3], 50);  // never back
    EXPECT_EQ(seen[4], 100); // clamped
    EXPECT_TRUE(std::is_sorted(seen.begin() + 1, seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

TEST_F(CDeviceErase, EstimateFromTheDiscAndTheSpeedTheDriveTook)
{
    ASSERT_NO_FATAL_FAILURE(
        start("estimate", "[drive0]\ntype=7\ncapacity=4700000000\nspeeds=2770/5540\n[drive1]\ntype=7\nready=0\n"));
    CDevice device(library, "CdRom0");
    device.RefreshMedia();
    EXPECT_EQ(device.GetTotalTimeErasing(true, 2770), 1915u);  // (716800 + 4589841) / 2770
    EXPECT_EQ(device.GetTotalTimeErasing(false, 3000), 258u);  // settles on 2770: 716800 / 2770
    CDevice notReady(library, "CdRom1");
    EXPECT_EQ(notReady.GetTotalTimeErasing(true, 2770), 0u);
    EXPECT_FALSE(notReady.Erase(true, 2770));
    EXPECT_EQ(notReady.state(), DeviceState::Idle);
}

TEST_F(CDeviceCopies, ShareOneBurnerObject)
{
    ASSERT_NO_FATAL_FAILURE(start("copies", "[drive0]\ntype=9\n"));
    CDevice first(library, "CdRom0");
    ASSERT_TRUE(first.RefreshDeviceInfo());
    CDevice copy = first;
    EXPECT_TRUE(copy.RefreshMedia());  // the same object, not a second grab
    EXPECT_EQ(copy.grabber(), first.grabber());
    CDevice other(library, "CdRom0");
    EXPECT_FALSE(other.CdvdBurnerGrabberCreate());
    EXPECT_EQ(other.lastResult().exception, STARBURN_EXCEPTION_DEVICE_BUSY);
}

// The second engine on the scripted DVD engine.
class ScriptedEngine : public ::testing::Test {
protected:
    void open(const std::string &script)
    {
        scriptFile = useDriveScript("engine-script", script);
        facade = std::make_unique<BurnerFacade>(
            MakeBurnEngine(true, testLibDir(), [this](LogChannel, int, const std::string &line) { log.push_back(line); }),
            BurnerSettings{});
        facade->RegisterNotifyWindow(queue.target());
        ASSERT_TRUE(facade->InitDevices(false, true));
    }
    void TearDown() override
    {
        facade.reset();
        ::unsetenv("VANTOREL_FAKE_BURN_SCRIPT");
    }
    bool burn(int index)
    {
        facade->CheckDisc(index);
        facade->SelectSpeed(0);
        facade->SetSourceFolder(AuthoredVideoTs());
        facade->SetVolumeLabel("ENGINE");
        return facade->BurnFolder();
    }
    std::string journal()
    {
        std::ifstream in(scriptFile + ".log");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool logged(const std::string &text) const
    {
        return std::any_of(log.begin(), log.end(), [&](const std::string &l) { return l.find(text) != std::string::npos; });
    }

    std::string scriptFile;
    std::vector<std::string> log;
    corvane_test::QueueTarget queue;
    std::unique_ptr<BurnerFacade> facade;
};

TEST_F(ScriptedEngine, SpeedsCountDownFromTheFastestAndTheFirstLabelIsUsed)
{
    open("[d0]\nmedia=6\nspeeds=5540/11080/16620\n[d1]\nmedia=6\n[d2]\nmedia=1\n");
    EXPECT_EQ(facade->WriteSpeeds(0, true), (std::vector<std::string>{"12 x", "8 x", "4 x"}));
    EXPECT_EQ(facade->WriteSpeeds(1, true), std::vector<std::string>{"MAX"});
    EXPECT_TRUE(facade->WriteSpeeds(2, true).empty());  // a DVD-ROM
    ASSERT_TRUE(burn(0));
    EXPECT_NE(journal().find("write " + AuthoredVideoTs() + " ENGINE 16620"), std::string::npos) << journal();
    EXPECT_EQ(facade->CheckDisc(0), kNoUsableDisc);  // a DVD+R that now holds data
}

TEST_F(ScriptedEngine, ALostFinalEventEndsTheBurnAsFailed)
{
    open("[d0]\nmedia=6\nlose_final_event=1\n[d1]\nmedia=5\ndata=1\nused=1000000\nlose_final_event=1\n");
    EXPECT_FALSE(burn(0));
    EXPECT_TRUE(logged("ended without its final event"));
    ASSERT_EQ(facade->CheckDisc(1), kDiscMustBeErased);
    EXPECT_FALSE(facade->EraseDisc());
}

TEST_F(ScriptedEngine, AMissingTrackFileFailsTheBurn)
{
    open("[d0]\nmedia=3\nmissing_file=/dvd/VIDEO_TS/VTS_01_1.VOB\n");
    EXPECT_FALSE(burn(0));
    EXPECT_NE(journal().find("warning /dvd/VIDEO_TS/VTS_01_1.VOB go-on=0"), std::string::npos) << journal();
    EXPECT_TRUE(logged("VTS_01_1.VOB"));
}

TEST_F(ScriptedEngine, EngineFailuresAreLoggedAndFailTheCall)
{
    open("[d0]\nmedia=4\ndata=1\nused=5000\nerase=fail\nerase_error=1\n[d1]\nmedia=6\nready=0\n");
    ASSERT_EQ(facade->CheckDisc(0), kDiscMustBeErased);
    EXPECT_FALSE(facade->EraseDisc());  // the erase error ends the wait
    EXPECT_TRUE(logged("Erase error: scripted erase error"));
    EXPECT_EQ(facade->CheckDisc(1), kNoUsableDisc);
    EXPECT_TRUE(logged("Refresh failed: scripted: not ready"));
}

} // namespace
} // namespace vt::burn
