// Choosing what the burner mode burns: authored folders, loose VOB files,
// the order they are listed in, the files refused, the size bar.
#include "app/burn/burn_source.h"

#include "app/production/production_params.h"
#include "app/production/production_test_view.h"
#include "app/project/clip_adding.h"
#include "app/project/clip_probe.h"
#include "app/project/clip_record.h"

#include "engines/burn/test_support/dvd_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using burn_test::ScratchFolder;

namespace vt::burn {
namespace {

void writeFile(const std::string &path, size_t bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

// A probe that reads the TV system from the name: "pal" → 720×576 at 25.
std::unique_ptr<project::ClipRecord> namedProbe(const std::string &path)
{
    auto clip = std::make_unique<project::ClipRecord>();
    const bool pal = path.find("pal") != std::string::npos;
    const bool small = path.find("small") != std::string::npos;
    project::StreamFacts facts;
    facts.duration = 7;
    facts.frameRate = pal ? 25.0f : 29.97f;
    facts.width = small ? 640 : 720;
    facts.height = small ? 360 : pal ? 576 : 480;
    facts.aspectCode = 2;
    facts.progressive = path.find("progressive") != std::string::npos ? 1 : 0;
    clip->setStreamFacts(facts);
    return clip;
}

std::vector<std::string> column(const BurnSourceList &list, int which)
{
    std::vector<std::string> values;
    for (const BurnSourceRow &row : list.rows())
        values.push_back(which == 0 ? fs::path(row.path).filename().string() : which == 1 ? row.format : row.sizeMB);
    return values;
}

class BurnSource : public ::testing::Test {
protected:
    project::ClipRecordList clips;
    std::string work = ScratchFolder("work") + "/";
    BurnSourceList list{clips, namedProbe, work};
};

// An authored folder: VIDEO_TS.IFO/BUP and a title set.
std::string authoredFolder(const std::string &name, bool lowerCase = false)
{
    const std::string parent = ScratchFolder(name);
    const std::string videoTs = parent + (lowerCase ? "/video_ts" : "/VIDEO_TS");
    for (const char *file : {"VIDEO_TS.IFO", "VIDEO_TS.BUP", "VTS_01_0.IFO", "VTS_01_0.BUP", "VTS_01_1.VOB"}) {
        std::string fileName = file;
        if (lowerCase)
            std::transform(fileName.begin(), fileName.end(), fileName.begin(), ::tolower);
        writeFile(videoTs + "/" + fileName, std::string(file).ends_with("VOB") ? 3 * 1024 * 1024 : 12 * 1024);
    }
    return parent;
}

TEST_F(BurnSource, AnAuthoredFolderListsIfoThenBupThenVobWhicheverFolderIsChosen)
{
    const std::string parent = authoredFolder("authored");
    const std::string lower = authoredFolder("authored_lower", true);
    for (const std::string &chosen : {parent, parent + "/VIDEO_TS", parent + "/VIDEO_TS/", lower, lower + "/video_ts"}) {
        list.addVobFile(ScratchFolder("loose") + "/a.vob");  // a VOB list that the folder replaces
        writeFile(ScratchFolder("loose2") + "/b.vob", 2048);
        ASSERT_TRUE(list.addVobFile(ScratchFolder("loose2") + "/b.vob")) << chosen;
        ASSERT_TRUE(list.chooseFolder(chosen)) << chosen;
        EXPECT_EQ(list.mode(), BurnSourceMode::Folder);
        EXPECT_TRUE(clips.empty());
        EXPECT_EQ(column(list, 1), (std::vector<std::string>{"IFO", "IFO", "BUP", "BUP", "VOB"})) << chosen;
        EXPECT_EQ(column(list, 2), (std::vector<std::string>{"0.012", "0.012", "0.012", "0.012", "3.00"}));
        EXPECT_EQ(list.totalKB(), 4 * 12 + 3 * 1024);
        EXPECT_TRUE(list.folder().ends_with("_TS/") || list.folder().ends_with("_ts/")) << list.folder();
        EXPECT_EQ(list.rows()[0].duration, "-");
    }
}

TEST_F(BurnSource, AVideoTsWithoutItsBackupsIsNotAuthoredAndItsVobsAreAddedLoose)
{
    const struct {
        const char *name;
        std::vector<std::string> files;
    } cases[] = {
        {"no_video_ts_bup", {"VIDEO_TS.IFO", "VTS_01_0.IFO", "VTS_01_0.BUP", "VTS_01_1.VOB"}},
        {"no_title_bup", {"VIDEO_TS.IFO", "VIDEO_TS.BUP", "VTS_01_0.IFO", "VTS_01_1.VOB"}},
        {"no_ifo_at_all", {"VTS_01_1.VOB"}},
    };
    for (const auto &c : cases) {
        const std::string parent = ScratchFolder(c.name);
        for (const std::string &file : c.files)
            writeFile(parent + "/VIDEO_TS/" + file, 4096);
        clips.clear();
        for (const std::string &chosen : {parent, parent + "/VIDEO_TS"}) {
            clips.clear();
            list.reset();
            EXPECT_FALSE(list.chooseFolder(chosen)) << c.name;
            EXPECT_EQ(list.mode(), BurnSourceMode::Vob);
            EXPECT_EQ(column(list, 0), std::vector<std::string>{"VTS_01_1.VOB"}) << c.name << " " << chosen;
            EXPECT_EQ(column(list, 1), std::vector<std::string>{"NTSC VOB"});
        }
    }
}

TEST_F(BurnSource, VobFilesAreListedByNameWithoutRegardToCaseWhateverTheDirectoryOrder)
{
    const std::string folder = ScratchFolder("twenty");
    std::vector<std::string> names;
    for (int i = 1; i <= 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, i % 2 ? "Title_%02d.VOB" : "title_%02d.vob", i);
        names.push_back(name);
    }
    std::vector<std::string> created = names;
    std::shuffle(created.begin(), created.end(), std::mt19937(7));
    for (const std::string &name : created)
        writeFile(folder + "/" + name, 1024);
    writeFile(folder + "/notes.txt", 10);
    writeFile(folder + "/cover.vob.jpg", 10);

    EXPECT_FALSE(list.chooseFolder(folder));
    EXPECT_EQ(column(list, 0), names);
    EXPECT_EQ(clips.count(), 20);
    EXPECT_EQ(clips[0].vobFile, folder + "/" + names[0]);
}

TEST_F(BurnSource, RefusedFilesAreNotAdded)
{
    const std::string folder = ScratchFolder("refused");
    for (const char *name : {"good.vob", "clip.mpg", "small.vob", "progressive.VOB"})
        writeFile(folder + "/" + name, 1024);
    writeFile(work + "in_work.vob", 1024);
    const std::vector<std::string> refused = list.addVobFiles({folder + "/good.vob", folder + "/clip.mpg",
                                                               folder + "/small.vob", folder + "/progressive.VOB",
                                                               work + "in_work.vob"});
    EXPECT_EQ(refused, (std::vector<std::string>{folder + "/clip.mpg", folder + "/small.vob", work + "in_work.vob"}));
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"good.vob", "progressive.VOB"}));

    BurnSourceList unreadable(clips, [](const std::string &) { return nullptr; }, work);
    EXPECT_FALSE(unreadable.addVobFile(folder + "/good.vob"));
}

TEST_F(BurnSource, MixedTvSystemsAreNamedAndRemovingLeavesVobMode)
{
    const std::string folder = ScratchFolder("mixed");
    for (const char *name : {"a_ntsc.vob", "b_pal.vob", "c_ntsc.vob"})
        writeFile(folder + "/" + name, 2048);
    list.chooseFolder(folder);
    EXPECT_EQ(column(list, 1), (std::vector<std::string>{"NTSC VOB", "PAL VOB", "NTSC VOB"}));
    const std::string message = project::TvSystemMismatchMessage(production::builtInTexts(), clips);
    EXPECT_NE(message.find("NTSC : \n" + folder + "/a_ntsc.vob\n" + folder + "/c_ntsc.vob\n"), std::string::npos)
        << message;
    EXPECT_NE(message.find("PAL : \n" + folder + "/b_pal.vob\n"), std::string::npos) << message;

    list.remove(1);
    EXPECT_TRUE(project::TvSystemMismatchMessage(production::builtInTexts(), clips).empty());
    EXPECT_EQ(list.totalKB(), 4);
    list.clear();
    EXPECT_TRUE(list.rows().empty());
    EXPECT_EQ(list.mode(), BurnSourceMode::Vob);
}

TEST(BurnSourceRules, SizeBarAndCompilerAspect)
{
    const struct {
        int64_t total, limit;
        int width;
    } bars[] = {{0, 4403200, 0}, {2201600, 4403200, 241}, {9000000, 4403200, 483}, {-5, 100, 0}, {100, 0, 0}, {100, -1, 0}};
    for (const auto &bar : bars)
        EXPECT_EQ(DiscBarWidth(bar.total, bar.limit, 483), bar.width) << bar.total << "/" << bar.limit;
    for (int code = 0; code <= 5; ++code)
        EXPECT_EQ(CompilerAspect(code), code == 3 || code == 4 ? production::kAspect16x9 : production::kAspect4x3)
            << code;
}

// A DVD program stream made by the ffmpeg command has progressive pictures
// as the converter library reports them; the burner mode takes it.
TEST(BurnSourceProbe, AVobFromTheFfmpegCommandIsAccepted)
{
    const std::string folder = ScratchFolder("probe");
    const std::string vob = folder + "/Clip.VOB";
    const burn_test::CommandResult made = burn_test::RunCommand(
        {"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=720x480:rate=30000/1001:duration=1", "-f",
         "lavfi", "-i", "sine=duration=1:sample_rate=48000", "-target", "ntsc-dvd", "-aspect", "16:9", vob});
    ASSERT_EQ(made.status, 0) << made.output;
    project::ClipRecordList clips;
    BurnSourceList list(
        clips, [](const std::string &path) { return project::ProbeClip(path, true, burn_test::BinDir() + "/").clip; },
        ScratchFolder("probe_work"));
    ASSERT_TRUE(list.addVobFile(vob));
    EXPECT_EQ(column(list, 1), std::vector<std::string>{"NTSC VOB"});
    EXPECT_EQ(CompilerAspect(clips[0].aspectCode), production::kAspect16x9);
}

} // namespace
} // namespace vt::burn
