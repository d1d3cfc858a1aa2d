// The burn step on scripted drives: the log of a good burn, erasing a disc
// that holds data (only when the user agrees, at most two rounds), asking
// for another disc, and the device question before a run.
#include "app/burn/burn_step.h"

#include "app/burn/burn_engine.h"
#include "app/burn/burner_facade.h"
#include "app/burn/drive_list.h"
#include "app/burn/starburn_engine.h"
#include "app/common/ui_language.h"
#include "app/production/production_run.h"
#include "app/production/production_test_view.h"

#include "engines/burn/test_support/dvd_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>

using namespace burn_test;

namespace vt::burn {
namespace {

std::string fakeLibrary()
{
    const char *dir = std::getenv("VANTOREL_TEST_LIB_DIR");
    return std::string(dir && *dir ? dir : VANTOREL_TEST_LIB_DIR) + "/libstarburn.so";
}

// Records every box; answers from a queue (Yes / OK when it runs dry).
struct ScriptedBurnDialogs : BurnDialogs {
    bool askBurnToDisc(const std::string &text) override { return answer("burn-to-disc: " + text); }
    bool askYesNo(const std::string &text) override { return answer("yes-no: " + text); }
    bool askOkCancel(const std::string &text) override { return answer("ok-cancel: " + text); }
    void showError(const std::string &text) override { shown.push_back("error: " + text); }
    bool answer(const std::string &shownText)
    {
        shown.push_back(shownText);
        if (answers.empty())
            return true;
        const bool next = answers.front();
        answers.pop_front();
        return next;
    }
    std::vector<std::string> shown;
    std::deque<bool> answers;
};

class BurnStepTest : public ::testing::Test {
protected:
    void open(const std::string &script)
    {
        scriptFile = ScratchFolder("script") + "/drives.ini";
        std::ofstream(scriptFile) << script;
        ::setenv("VANTOREL_FAKE_BURN_SCRIPT", scriptFile.c_str(), 1);
        facade = std::make_unique<BurnerFacade>(std::make_unique<StarBurnEngine>(fakeLibrary(), nullptr),
                                                BurnerSettings{});
        step = std::make_unique<BurnStep>(*facade, run, dialogs, language);
        step->listen();
        ASSERT_TRUE(facade->InitDevices(false, true));
        ASSERT_TRUE(run.PrepareRun(production::RunChoices{}));
    }
    void TearDown() override
    {
        step.reset();
        facade.reset();
        ::unsetenv("VANTOREL_FAKE_BURN_SCRIPT");
    }
    std::vector<std::string> scriptLog() const
    {
        std::vector<std::string> lines;
        std::ifstream in(scriptFile + ".log");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    BurnJob job(const std::string &folder = AuthoredVideoTs()) const { return {0, 0, "MY_DISC", folder}; }
    // The log from the first line starting with from.
    std::vector<std::string> logFrom(const std::string &from) const
    {
        auto first = std::find_if(view.log.begin(), view.log.end(),
                                  [&](const std::string &line) { return line.rfind(from, 0) == 0; });
        return {first, view.log.end()};
    }

    common::UiLanguage language{ScratchFolder("no_languages")};
    production::RecordingView view;
    production::ProductionRun run{view, {"", ScratchFolder("work"), ScratchFolder("out") + "/"}, language};
    ScriptedBurnDialogs dialogs;
    std::string scriptFile;
    std::unique_ptr<BurnerFacade> facade;
    std::unique_ptr<BurnStep> step;
};

TEST_F(BurnStepTest, ABlankDiscIsCheckedMeasuredAndBurnedWithItsNotesInTheLog)
{
    open("[drive0]\ntype=13\nburn_ms=600\npadding=1\n");
    ASSERT_TRUE(step->run(job()));
    const uint64_t folderBytes = BurnerFacade::FolderSize(AuthoredVideoTs());
    const std::vector<std::string> expected = {
        "Check DVD disc >>>",          "Inserted media : DVD+R",
        "Get source DVD size >>>",     "DVD >>> " + std::to_string(folderBytes),
        "4700372992 >>> DVD",          "Start to burn DVD disc >>>",
        "Start to pad DVD disc >>>",   "<<< Pad DVD disc finish",
        "<<< Burn DVD disc finish"};
    EXPECT_EQ(logFrom("Check DVD disc"), expected);
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.back(), (std::pair<int, int>{2, 100}));
    EXPECT_EQ(scriptLog(), std::vector<std::string>{"burn " + AuthoredVideoTs() + " MY_DISC"});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(BurnStepTest, ADiscWithDataWhoseEraseFailsIsTriedTwiceThenAnotherDiscIsAskedFor)
{
    open("[drive0]\ntype=8\ndata=1\nused=1000000\nerase=fail\n");
    dialogs.answers = {true, false};  // erase: yes; another disc: Cancel
    EXPECT_FALSE(step->run(job()));
    EXPECT_EQ(run.outcome(), production::kUserCancelsBurning);
    const std::vector<std::string> expected = {
        "Check DVD disc >>>",   "Start to erase disc -- 1", "<<< Erase disc finish",
        "Check DVD disc >>>",   "Start to erase disc -- 2", "<<< Erase disc finish",
        "Can not erase this disc, please use other special disc tool to erase it",
        "<<< User cancels burning process"};
    EXPECT_EQ(logFrom("Check DVD disc"), expected);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].rfind("yes-no: Erasing will delete ALL data", 0), 0u) << dialogs.shown[0];
    EXPECT_EQ(dialogs.shown[1], "ok-cancel: Can not create burning process! -- Unknown or Unsupported disc, please "
                                "insert another blank disc and click \"OK\" to continue!\nClick \"Cancel\" to cancel "
                                "burning process!");
    const std::vector<std::string> calls = scriptLog();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string &l) { return l.rfind("erase", 0) == 0; }),
              2);
}

TEST_F(BurnStepTest, AnErasedDiscIsCheckedAgainAndBurned)
{
    open("[drive0]\ntype=8\ndata=1\nused=1000000\n");
    ASSERT_TRUE(step->run(job()));
    const std::vector<std::string> log = logFrom("Check DVD disc");
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[1], "Start to erase disc -- 1");
    EXPECT_EQ(log[3], "Check DVD disc >>>");
    EXPECT_EQ(log[4], "Inserted media : DVD-RW");
    const std::vector<std::string> calls = scriptLog();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].rfind("erase", 0), 0u);
    EXPECT_EQ(calls[1], "burn " + AuthoredVideoTs() + " MY_DISC");
}

TEST_F(BurnStepTest, ADiscWithDataIsLeftAloneWhenTheUserSaysNo)
{
    open("[drive0]\ntype=8\ndata=1\nused=1000000\n");
    dialogs.answers = {false, false};
    EXPECT_FALSE(step->run(job()));
    EXPECT_EQ(run.outcome(), production::kUserCancelsBurning);
    EXPECT_TRUE(scriptLog().empty());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].find("Unknown or Unsupported disc"), std::string::npos);
}

TEST_F(BurnStepTest, ADiscTooSmallForTheFolderAndItsReserveAsksForALargerOne)
{
    const uint64_t folderBytes = BurnerFacade::FolderSize(AuthoredVideoTs());
    open("[drive0]\ntype=13\ncapacity=" + std::to_string(folderBytes + kBurnReserveBytes - 2048) + "\n");
    dialogs.answers = {true, false};  // OK once (the same disc again), then Cancel
    EXPECT_FALSE(step->run(job()));
    EXPECT_EQ(run.outcome(), production::kUserCancelsBurning);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].rfind("ok-cancel: Can not create burning process! -- Disc size smaller than DVD size", 0),
              0u);
    EXPECT_TRUE(scriptLog().empty());
}

TEST_F(BurnStepTest, AMissingFolderOrDeviceEndsTheRunAsABurnFailure)
{
    const struct {
        std::string folder;
        int drive;
        std::string error;
    } cases[] = {
        {ScratchFolder("gone") + "/VIDEO_TS", 0, "error: Can not create burning process! -- No DVD folder to burn!"},
        {AuthoredVideoTs(), 5, "error: Can not create burning process! -- Unknown burning device!"},
    };
    open("[drive0]\ntype=13\n");
    for (const auto &c : cases) {
        dialogs.shown.clear();
        ASSERT_TRUE(run.PrepareRun(production::RunChoices{}));
        BurnJob burn = job(c.folder);
        burn.drive = c.drive;
        EXPECT_FALSE(step->run(burn));
        EXPECT_EQ(run.outcome(), production::kBurningProcessWrong);
        EXPECT_EQ(dialogs.shown, std::vector<std::string>{c.error});
        EXPECT_EQ(view.log.back(), "<<< Burning process wrong");
    }
}

TEST_F(BurnStepTest, TheDeviceQuestionBeforeARun)
{
    open("[drive0]\ntype=13\n[drive1]\ntype=2\n[drive2]\ntype=8\ndata=1\n");
    const struct {
        int drive;
        bool yes;
        StartAnswer answer;
        const char *question;  // "" for none
    } cases[] = {
        {0, true, StartAnswer::Burn, ""},
        {2, true, StartAnswer::Burn, ""},  // erased by the burn step
        {1, true, StartAnswer::DoNotStart, "Please inset a blank DVD disc first!"},
        {1, false, StartAnswer::WithoutBurn, "Please inset a blank DVD disc first!"},
        {7, true, StartAnswer::DoNotStart, "Please specify a writable DVD device first!"},
        {7, false, StartAnswer::WithoutBurn, "Please specify a writable DVD device first!"},
    };
    for (const auto &c : cases) {
        dialogs.shown.clear();
        dialogs.answers = {c.yes};
        EXPECT_EQ(AskBeforeStart(*facade, c.drive, dialogs, language), c.answer) << c.drive;
        if (*c.question) {
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0].rfind(std::string("burn-to-disc: ") + c.question, 0), 0u) << dialogs.shown[0];
        } else {
            EXPECT_TRUE(dialogs.shown.empty()) << c.drive;
        }
    }
}

TEST_F(BurnStepTest, DriveAndSpeedLists)
{
    open("[drive0]\ntype=2\nspeeds=\n[drive1]\ntype=13\nspeeds=5540/11080\n");
    const DriveChoice first = ChooseDrive(*facade, -1, "Unsupport");
    EXPECT_EQ(first.drives.size(), 2u);
    EXPECT_EQ(first.selected, 1);  // the first drive that lists speeds
    EXPECT_EQ(first.speeds.items, (std::vector<std::string>{"4.0x", "8.0x"}));
    EXPECT_EQ(first.speeds.selected, 1);
    const DriveChoice asked = ChooseDrive(*facade, 0, "Unsupport");
    EXPECT_EQ(asked.selected, 0);
    EXPECT_EQ(asked.speeds.items, std::vector<std::string>{"Unsupport"});
    EXPECT_FALSE(asked.speeds.usable);
    EXPECT_EQ(ChooseDrive(*facade, 9, "Unsupport").selected, 0);
}

} // namespace
} // namespace vt::burn
