// The compile chain with the real engines on tiny DVD VOBs: the menus that
// reach the disc are read back with dvdunauthor and spuunmux.
#include "app/production/compile_chain.h"

#include "app/production/disc_menu_reader.h"
#include "app/production/production_test_view.h"
#include "app/project/clip_record.h"
#include "app/common/region_list.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::production {
namespace {

namespace fs = std::filesystem;

MenuButton solidButton(EdgeRect bounds, QRgb colour, int32_t chapterTime = 0)
{
    MenuButton button;
    button.bounds = bounds;
    button.pictureAt = [colour](int w, int h) {
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(colour);
        return picture;
    };
    button.chapterTime = chapterTime;
    return button;
}

class CompileChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExePath(corvane_test::bin_dir());
        // Every kind of character the XML files must carry.
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
               "/Tom & \"Jerry\" <été's>";
        fs::remove_all(root);
        fs::create_directories(root);
        folders = {corvane_test::bin_dir(), root + "/work/", root + "/out/"};
        const std::string vob = corvane_test::fixture(
            "compile_chain_pal_3s.vob", {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-f", "lavfi", "-i",
                                         "sine=sample_rate=48000", "-t", "3", "-target", "pal-dvd", "-aspect", "4:3"});
        for (int i = 0; i < 3; ++i) {
            auto clip = std::make_unique<project::ClipRecord>();
            clip->fileName = clip->vobFile = root + "/clip " + std::to_string(i) + ".vob";
            fs::copy_file(vob, clip->vobFile);
            clip->height = 576;
            clip->end = clip->duration = 3;
            clips.append(std::move(clip));
        }
        menus.titlePage.labels = {{{40, 300, 200, 330}, "Holiday", "DejaVu Sans", 20, Qt::white}};
        menus.titlePage.backLeft = 10;
        menus.titlePage.backTop = 340;
        menus.titleButtons = {solidButton({20, 15, 124, 93}, 0xFFC04040), solidButton({140, 15, 244, 93}, 0xFF40C040),
                              solidButton({260, 15, 364, 93}, 0xFF4040C0)};
        MenuPage chapters;
        chapters.buttons = {solidButton({20, 15, 100, 75}, 0xFF808080, 0),
                            solidButton({140, 15, 220, 75}, 0xFFA0A0A0, 1),
                            solidButton({260, 15, 340, 75}, 0xFFC0C0C0, 2)};
        chapters.backLeft = 10;
        chapters.backTop = 340;
        menus.chapterPages = {chapters, std::nullopt, std::nullopt};
        menus.chapterMenusEnabled = true;
    }

    int compile()
    {
        ProductionRun run(view, folders);
        CompileChain chain(run, clips, regions, 0, &menus);
        view.onProcessEvents = [&] {
            if (stopDuringMenu && chain.menuPlan().titleMenuWanted()) {
                stopDuringMenu = false;
                chain.stop();
            }
        };
        const int outcome = chain.run(RunChoices{});
        dvdFolder = chain.dvdFolder();
        made = chain.menuPlan().titleMenuMade();
        return outcome;
    }

    // A program folder like the real one, less the named files.
    std::string programFolderWithout(const std::vector<std::string> &missing)
    {
        const std::string folder = root + "/program/";
        fs::create_directories(folder + "RES");
        for (const char *name : {"libCorvane.so", "libdvdauthor.so", "Lang", "Language.ini"})
            if (std::find(missing.begin(), missing.end(), name) == missing.end())
                fs::create_symlink(corvane_test::bin_dir() + "/" + name, folder + name);
        for (const auto &entry : fs::directory_iterator(corvane_test::bin_dir() + "/RES"))
            if (std::find(missing.begin(), missing.end(), "RES/" + entry.path().filename().string()) == missing.end())
                fs::create_symlink(entry.path(), folder + "RES/" + entry.path().filename().string());
        return folder;
    }

    std::string root, dvdFolder;
    RunFolders folders;
    RecordingView view;
    project::ClipRecordList clips;
    DiscMenus menus;
    common::RegionList regions = common::RegionList::program();
    bool stopDuringMenu = false;
    bool made = false;
};

TEST_F(CompileChainTest, MenusReachTheDiscAsPlanned)
{
    ASSERT_EQ(compile(), kProcessFinish) << view.log.back();
    EXPECT_TRUE(view.logged("Title.bmp >>>> Title.vob"));
    EXPECT_TRUE(view.logged("Chapter_0.bmp >>>> Chapter_0.vob"));
    EXPECT_TRUE(view.logged("Start to create chapter menu destination file >>>"));
    ASSERT_TRUE(IsDvdFolder(dvdFolder));

    const std::vector<DiscMenuProgram> programs = ReadDiscMenus(dvdFolder, root + "/unauthor");
    ASSERT_EQ(programs.size(), 3u);
    // The root menu: play title 1, open the title menu; it starts on Play.
    EXPECT_TRUE(programs[0].vmgm);
    EXPECT_EQ(programs[0].buttons,
              (std::vector<std::string>{"jump title 1;", "jump titleset 1 menu entry root;"}));
    EXPECT_EQ(programs[0].firstButton, 1);
    // The title menu: back to the root menu, the first clip's chapter menu,
    // the other two titles; it starts on the first clip.
    EXPECT_EQ(programs[1].entry, "root");
    EXPECT_EQ(programs[1].buttons, (std::vector<std::string>{"jump vmgm menu entry title;", "jump pgc 2;",
                                                              "jump title 2;", "jump title 3;"}));
    EXPECT_EQ(programs[1].firstButton, 2);
    EXPECT_EQ(programs[2].buttons, (std::vector<std::string>{"jump pgc 1;", "jump title 1 chapter 1;",
                                                              "jump title 1 chapter 2;", "jump title 1 chapter 3;"}));

    // The buttons in the menus' subpicture streams are the planned rectangles.
    const std::vector<EdgeRect> titleButtons = ReadSpuButtons(programs[1].vobFile, root + "/spu");
    ASSERT_EQ(titleButtons.size(), 4u);
    const DesignMapping pal43(576, 540);
    EXPECT_EQ(titleButtons[1], (EdgeRect{38, 32, 161, 126}));  // MapButtonRect(20, 15, 124, 93) on even lines
    EXPECT_EQ(pal43.MapButtonRect({20, 15, 124, 93}), (EdgeRect{38, 33, 161, 125}));
    EXPECT_EQ(ReadSpuButtons(programs[2].vobFile, root + "/spu").size(), 4u);
    EXPECT_EQ(ReadSpuButtons(programs[0].vobFile, root + "/spu").size(), 2u);
}

TEST_F(CompileChainTest, WithoutTheBackShapeNoMenuHasABackButton)
{
    folders.programFolder = programFolderWithout({"RES/BackPng.bmp"});
    ASSERT_EQ(compile(), kProcessFinish) << view.log.back();
    const std::vector<DiscMenuProgram> programs = ReadDiscMenus(dvdFolder, root + "/unauthor");
    ASSERT_EQ(programs.size(), 3u);
    EXPECT_EQ(programs[1].buttons, (std::vector<std::string>{"jump pgc 2;", "jump title 2;", "jump title 3;"}));
    EXPECT_EQ(programs[1].firstButton, 1);
    EXPECT_EQ(programs[2].buttons, (std::vector<std::string>{"jump title 1 chapter 1;", "jump title 1 chapter 2;",
                                                              "jump title 1 chapter 3;"}));
    EXPECT_EQ(ReadSpuButtons(programs[1].vobFile, root + "/spu").size(), 3u);
}

TEST_F(CompileChainTest, FailuresEndTheRunWithoutADvdFolder)
{
    struct {
        const char *name;
        std::vector<std::string> missing;
        bool stop;
        bool badVob;
        int outcome;
    } cases[] = {
        {"converter library missing", {"libCorvane.so"}, false, false, kTitleMenuConversionWrong},
        {"stopped while the title menu is encoded", {}, true, false, kUserAbort},
        {"dvdauthor rejects a title", {}, false, true, kAuthorProcessWrong},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root + "/program");
        fs::remove_all(folders.outputFolder);
        folders.programFolder = c.missing.empty() ? corvane_test::bin_dir() : programFolderWithout(c.missing);
        if (c.badVob)
            std::ofstream(clips[2].vobFile, std::ios::trunc) << "not an MPEG stream";
        stopDuringMenu = c.stop;
        view.answers = {true};
        EXPECT_EQ(compile(), c.outcome) << view.log.back();
        EXPECT_FALSE(fs::exists(dvdFolder)) << dvdFolder;
        if (c.outcome != kAuthorProcessWrong) {
            EXPECT_FALSE(made);
            EXPECT_FALSE(fs::exists(root + "/work/Title.vob"));
        }
    }
}

TEST(RootMenuVobs, FourWithTwoButtonsEach)
{
    for (const char *name : {"MainSubN", "MainSubNW", "MainSubP", "MainSubPW"}) {
        SCOPED_TRACE(name);
        const std::string vob = corvane_test::bin_dir() + "/RES/" + name + ".vob";
        ASSERT_TRUE(fs::exists(vob));
        const std::vector<EdgeRect> buttons = ReadSpuButtons(vob, corvane_test::scratch_dir() + "/root_spu");
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_LT(buttons[0].right, buttons[1].left);  // Play left of Menu
        const auto video = corvane_test::probe_entries(vob, "v:0", "height,display_aspect_ratio");
        EXPECT_EQ(video.at("height"), name[7] == 'N' ? "480" : "576");
        EXPECT_EQ(video.at("display_aspect_ratio"), std::string(name).back() == 'W' ? "16:9" : "4:3");
    }
}

} // namespace
} // namespace vt::production
