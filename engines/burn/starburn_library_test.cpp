// The library as the program loads it, on pseudo-drives over image files.
#include "engines/burn/starburn.h"

#include "engines/burn/test_support/dvd_fixture.h"
#include "platform/module_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace burn_test;

namespace {

struct Library {
    vt::Module module;
    decltype(&StarBurn_UpStartEx) upStart = nullptr;
    decltype(&StarBurn_DownShut) downShut = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_CreateEx) create = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Destroy) destroy = nullptr;
    decltype(&StarBurn_DVDVideo_Create) videoCreate = nullptr;
    decltype(&StarBurn_DVDVideo_GetSizeInUCHARs) videoSize = nullptr;
    decltype(&StarBurn_DVDVideo_GetTreeNodePointer) videoTree = nullptr;
    decltype(&StarBurn_DVDVideo_Destroy) videoDestroy = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree) write = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDiscInformation) discInfo = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDiscLabel) discLabel = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Blank) blank = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_SetSpeeds) setSpeeds = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetSpeeds) getSpeeds = nullptr;
    decltype(&StarBurn_GetDeviceLetter) deviceLetter = nullptr;

    bool load()
    {
        return module.open(BinDir() + "/libstarburn.so") && module.bind("StarBurn_UpStartEx", upStart) &&
               module.bind("StarBurn_DownShut", downShut) &&
               module.bind("StarBurn_CdvdBurnerGrabber_CreateEx", create) &&
               module.bind("StarBurn_CdvdBurnerGrabber_Destroy", destroy) &&
               module.bind("StarBurn_DVDVideo_Create", videoCreate) &&
               module.bind("StarBurn_DVDVideo_GetSizeInUCHARs", videoSize) &&
               module.bind("StarBurn_DVDVideo_GetTreeNodePointer", videoTree) &&
               module.bind("StarBurn_DVDVideo_Destroy", videoDestroy) &&
               module.bind("StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree", write) &&
               module.bind("StarBurn_CdvdBurnerGrabber_GetDiscInformation", discInfo) &&
               module.bind("StarBurn_CdvdBurnerGrabber_GetDiscLabel", discLabel) &&
               module.bind("StarBurn_CdvdBurnerGrabber_Blank", blank) &&
               module.bind("StarBurn_CdvdBurnerGrabber_SetSpeeds", setSpeeds) &&
               module.bind("StarBurn_CdvdBurnerGrabber_GetSpeeds", getSpeeds) &&
               module.bind("StarBurn_GetDeviceLetter", deviceLetter);
    }
};

struct Progress {
    std::vector<std::pair<uint64_t, uint64_t>> events;  // (written, total)
};

void onEvent(int event, void *context, uint64_t *first, uint64_t *second)
{
    if (event == STARBURN_EVENT_WRITE_PROGRESS)
        static_cast<Progress *>(context)->events.emplace_back(*second, *first);
}

class StarBurnLibrary : public ::testing::Test {
protected:
    void start(const std::string &drives)
    {
        ::setenv("VANTOREL_BURN_DRIVES", drives.c_str(), 1);
        ASSERT_TRUE(lib.load()) << lib.module.error();
        ASSERT_EQ(lib.upStart(STARBURN_VENDOR_INIT, uint32_t(std::strlen(STARBURN_VENDOR_INIT))), STARBURN_OK);
    }
    void TearDown() override
    {
        if (lib.downShut)
            lib.downShut();
        ::unsetenv("VANTOREL_BURN_DRIVES");
    }

    void *grab(const std::string &device, Progress *progress = nullptr)
    {
        void *grabber = nullptr;
        uint32_t status = 0;
        lastCode = lib.create(&grabber, text, sizeof text, &status, detail, onEvent, progress ? progress : &ignored,
                              device.c_str(), 0);
        return grabber;
    }

    // Makes the DVD-Video file system of videoTs and writes it; the code of
    // the call that failed, or STARBURN_OK.
    int burn(void *grabber, const std::string &videoTs, const std::string &label = "HOLIDAY")
    {
        void *video = nullptr;
        uint32_t status = 0;
        int code = lib.videoCreate(&video, text, sizeof text, &status, detail, videoTs.c_str(), 1, label.c_str(),
                                   "Quellbrook", "Zanthera", 2007, 7, 1, 0, 0, 0, 0);
        if (code != STARBURN_OK)
            return code;
        code = lib.write(grabber, text, sizeof text, &status, detail, lib.videoTree(video), 1, 0, 0, 1, 5);
        lib.videoDestroy(video);
        return code;
    }

    STARBURN_DISC_INFORMATION disc(void *grabber)
    {
        STARBURN_DISC_INFORMATION info{};
        uint32_t status = 0;
        EXPECT_EQ(lib.discInfo(grabber, text, sizeof text, &status, detail, &info), STARBURN_OK);
        return info;
    }

    Library lib;
    Progress ignored;
    int lastCode = 0;
    char text[STARBURN_TEXT_SIZE] = {};
    char detail[STARBURN_TEXT_SIZE] = {};
};

TEST_F(StarBurnLibrary, WritesADvdVideoImageEveryToolReads)
{
    const std::string folder = ScratchFolder("good");
    const std::string image = folder + "/d.iso";
    start("stdio:" + image + ",type=DVD+R");
    Progress progress;
    void *grabber = grab("CdRom0", &progress);
    ASSERT_NE(grabber, nullptr) << text;
    EXPECT_EQ(disc(grabber).empty, 1);
    ASSERT_EQ(burn(grabber, AuthoredVideoTs()), STARBURN_OK) << text;

    EXPECT_EQ(disc(grabber).empty, 0);
    char label[64] = {};
    uint32_t status = 0;
    EXPECT_EQ(lib.discLabel(grabber, text, sizeof text, &status, detail, label, sizeof label), STARBURN_OK);
    EXPECT_STREQ(label, "HOLIDAY");
    lib.destroy(grabber);

    const CommandResult info = RunCommand({"isoinfo", "-d", "-i", image});
    EXPECT_NE(info.output.find("Volume id: HOLIDAY"), std::string::npos) << info.output;
    // The UDF bridge: its volume recognition sequence follows the ISO 9660 descriptors.
    std::ifstream in(image, std::ios::binary);
    std::string head(32 * 2048, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    EXPECT_NE(head.find("BEA01"), std::string::npos);
    EXPECT_NE(head.find("NSR02"), std::string::npos);
    EXPECT_NE(info.output.find("Publisher id: Quellbrook"), std::string::npos) << info.output;
    for (const fs::directory_entry &file : fs::directory_iterator(AuthoredVideoTs())) {
        const std::string name = file.path().filename().string();
        const std::string copy = folder + "/" + name;
        const CommandResult extract = RunCommand({"sh", "-c", "isoinfo -i \"$0\" -x \"/VIDEO_TS/$1;1\" > \"$2\"",
                                                  image, name, copy});
        ASSERT_EQ(extract.status, 0) << extract.output;
        EXPECT_EQ(FileChecksum(copy), FileChecksum(file.path().string())) << name;
    }
    ASSERT_FALSE(progress.events.empty());
    EXPECT_EQ(progress.events.back().first, progress.events.back().second);
    EXPECT_EQ(fs::file_size(image), progress.events.back().second);
}

TEST_F(StarBurnLibrary, RefusesAnImageLargerThanTheDiscAndLeavesNoFile)
{
    const std::string image = ScratchFolder("small") + "/d.iso";
    start("stdio:" + image + ",type=DVD-R,capacity=204800");
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr) << text;
    EXPECT_EQ(burn(grabber, AuthoredVideoTs()), STARBURN_EXCEPTION_NO_SPACE);
    EXPECT_NE(std::string(text).find("larger than the disc"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(image));
    lib.destroy(grabber);
}

TEST_F(StarBurnLibrary, AWriteOnceDiscWithDataIsRefusedAndKept)
{
    const std::string image = ScratchFolder("dvdr") + "/d.iso";
    start("stdio:" + image + ",type=DVD-R");
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr) << text;
    ASSERT_EQ(burn(grabber, AuthoredVideoTs(), "FIRST"), STARBURN_OK) << text;
    const std::string before = FileChecksum(image);
    EXPECT_EQ(burn(grabber, AuthoredVideoTs(), "SECOND"), STARBURN_EXCEPTION_DISC_NOT_BLANK);
    uint32_t status = 0;
    EXPECT_NE(lib.blank(grabber, text, sizeof text, &status, detail, 1), STARBURN_OK);
    EXPECT_EQ(FileChecksum(image), before);
    lib.destroy(grabber);
}

TEST_F(StarBurnLibrary, ErasingARewritableDiscEmptiesItUnlessTheDriveFails)
{
    const std::string folder = ScratchFolder("rw");
    start("stdio:" + folder + "/a.iso,type=DVD+RW;stdio:" + folder + "/b.iso,type=DVD-RW,erase=fail");
    for (const char *device : {"CdRom0", "CdRom1"}) {
        void *grabber = grab(device);
        ASSERT_NE(grabber, nullptr) << text;
        ASSERT_EQ(burn(grabber, AuthoredVideoTs()), STARBURN_OK) << text;
        uint32_t status = 0;
        const int erased = lib.blank(grabber, text, sizeof text, &status, detail, 1);
        if (std::string(device) == "CdRom0") {
            EXPECT_EQ(erased, STARBURN_OK) << text;
            EXPECT_EQ(disc(grabber).empty, 1);
            EXPECT_EQ(burn(grabber, AuthoredVideoTs()), STARBURN_OK) << text;
        } else {
            EXPECT_EQ(erased, STARBURN_EXCEPTION_ERASE_FAILED);
            EXPECT_EQ(disc(grabber).empty, 0);
        }
        lib.destroy(grabber);
    }
}

TEST_F(StarBurnLibrary, AFolderWithAZeroedManagerFileMakesNoImage)
{
    const std::string videoTs = CopyOfAuthoredVideoTs("zeroed");
    {
        std::fstream ifo(videoTs + "/VIDEO_TS.IFO", std::ios::in | std::ios::out | std::ios::binary);
        const std::string zeros(2048, '\0');
        ifo.write(zeros.data(), std::streamsize(zeros.size()));
    }
    const std::string image = ScratchFolder("zeroed-out") + "/d.iso";
    start("stdio:" + image);
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(burn(grabber, videoTs), STARBURN_EXCEPTION_IMAGE_FAILED);
    EXPECT_FALSE(fs::exists(image));
    lib.destroy(grabber);
}

TEST_F(StarBurnLibrary, AFileThatGoesAwayBeforeTheWriteFailsIt)
{
    const std::string videoTs = CopyOfAuthoredVideoTs("vanishing");
    const std::string image = ScratchFolder("vanishing-out") + "/d.iso";
    start("stdio:" + image);
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr);
    void *video = nullptr;
    uint32_t status = 0;
    ASSERT_EQ(lib.videoCreate(&video, text, sizeof text, &status, detail, videoTs.c_str(), 1, "GONE", "", "", 2007,
                              7, 1, 0, 0, 0, 0),
              STARBURN_OK);
    fs::remove(videoTs + "/VTS_01_1.VOB");
    EXPECT_EQ(lib.write(grabber, text, sizeof text, &status, detail, lib.videoTree(video), 1, 0, 0, 1, 5),
              STARBURN_EXCEPTION_IMAGE_FAILED);
    EXPECT_NE(std::string(text).find("VTS_01_1.VOB is missing"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(image));
    lib.videoDestroy(video);
    lib.destroy(grabber);
}

TEST_F(StarBurnLibrary, AnImageStreamCutShortIsAFailedWrite)
{
    const std::string bin = ScratchFolder("fake-bin");
    {
        std::ofstream fake(bin + "/genisoimage");
        fake << "#!/bin/sh\n"
                "for a in \"$@\"; do [ \"$a\" = -print-size ] && exec /usr/bin/genisoimage \"$@\"; done\n"
                "/usr/bin/genisoimage \"$@\" | head -c 300000\n";
    }
    ::chmod((bin + "/genisoimage").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin + ":" + path).c_str(), 1);
    const std::string image = ScratchFolder("cut") + "/d.iso";
    start("stdio:" + image);
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr);
    EXPECT_NE(burn(grabber, AuthoredVideoTs()), STARBURN_OK);
    EXPECT_NE(std::string(text).find("Premature end of input"), std::string::npos) << text;
    lib.destroy(grabber);
    ::setenv("PATH", path.c_str(), 1);
}

TEST_F(StarBurnLibrary, ProgressOfAThrottledDriveNeverGoesBack)
{
    const std::string image = ScratchFolder("slow") + "/d.iso";
    start("stdio:" + image + ",rate=1500");
    Progress progress;
    void *grabber = grab("CdRom0", &progress);
    ASSERT_NE(grabber, nullptr);
    ASSERT_EQ(burn(grabber, AuthoredVideoTs()), STARBURN_OK) << text;
    lib.destroy(grabber);
    ASSERT_GT(progress.events.size(), 3u);
    for (size_t i = 1; i < progress.events.size(); ++i)
        EXPECT_GE(progress.events[i].first, progress.events[i - 1].first);
    EXPECT_EQ(progress.events.back().first, progress.events.back().second);
}

TEST_F(StarBurnLibrary, ADriveIsHeldByOneBurnerObjectAtATime)
{
    const std::string image = ScratchFolder("busy") + "/d.iso";
    start("stdio:" + image);
    void *first = grab("CdRom0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(grab("stdio:" + image), nullptr);
    EXPECT_EQ(lastCode, STARBURN_EXCEPTION_DEVICE_BUSY);
    lib.destroy(first);
    void *again = grab("stdio:" + image);
    EXPECT_NE(again, nullptr);
    lib.destroy(again);
    EXPECT_EQ(grab("CdRom7"), nullptr);
    EXPECT_EQ(lastCode, STARBURN_EXCEPTION_NO_DEVICE);
}

TEST_F(StarBurnLibrary, SpeedsSettleOnTheFastestNotAboveTheRequest)
{
    start("stdio:" + ScratchFolder("speeds") + "/d.iso,speeds=4155/5540/11080");
    void *grabber = grab("CdRom0");
    ASSERT_NE(grabber, nullptr);
    const struct {
        uint32_t asked, settled;
    } cases[] = {{5000, 4155}, {5540, 5540}, {1385, 4155}, {0, 11080}, {99999, 11080}};
    for (const auto &c : cases) {
        uint32_t status = 0, currentRead = 0, maxRead = 0, current = 0, maximum = 0;
        lib.setSpeeds(grabber, text, sizeof text, &status, detail, 0xFFFF, c.asked);
        lib.getSpeeds(grabber, text, sizeof text, &status, detail, &currentRead, &maxRead, &current, &maximum);
        EXPECT_EQ(current, c.settled) << c.asked;
        EXPECT_EQ(maximum, 11080u);
    }
    lib.destroy(grabber);
}

} // namespace
