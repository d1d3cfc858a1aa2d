#include "app/project/clip_list_model.h"

#include "app/common/settings.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::project {
namespace {

class ClipListModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One KB per second of video: the estimate reads in seconds.
        settings.discKBPerMinute = 60;
        settings.dvd5SizeKB = 1000;
        settings.dvd9SizeKB = 2000;
        model = std::make_unique<ClipListModel>(clips, settings);
        model->stopPreview = [this] { ++previewStops; };
        model->enterMode(ClipListMode::Builder);
        previewStops = 0;
    }

    // Clips named by their durations, without the converter library.
    void addClips(std::initializer_list<int> durations)
    {
        for (int duration : durations) {
            auto clip = std::make_unique<ClipRecord>();
            StreamFacts facts;
            facts.duration = duration;
            clip->setStreamFacts(facts);
            clip->fileName = std::to_string(duration);
            clips.append(std::move(clip));
        }
    }
    std::vector<std::string> order() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < clips.count(); ++i)
            names.push_back(clips[i].fileName);
        return names;
    }
    // A file the scripted converter library accepts: its facts in a sidecar.
    std::string file(const std::string &name, int duration)
    {
        const std::string folder = corvane_test::scratch_dir() + "/" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + name) << "x";
        std::ofstream(folder + name + ".facts") << "[f]\nduration=" << duration << "\nwidth=720\nheight=576\n";
        return folder + name;
    }

    vt::common::Settings settings;
    ClipRecordList clips;
    std::unique_ptr<ClipListModel> model;
    int previewStops = 0;
};

TEST_F(ClipListModelTest, SelectionAfterRemovingAndReordering)
{
    struct Case {
        const char *what;
        int selected;
        std::function<bool(ClipListModel &)> command;
        std::vector<std::string> order;
        int selectedAfter;
    } cases[] = {
        {"remove the middle", 2, [](ClipListModel &m) { return m.removeSelected(); }, {"10", "20", "40", "50"}, 2},
        {"remove the last", 4, [](ClipListModel &m) { return m.removeSelected(); }, {"10", "20", "30", "40"}, 3},
        {"first up", 0, [](ClipListModel &m) { return m.moveSelected(&ClipRecordList::moveUp); },
         {"10", "20", "30", "40", "50"}, 0},
        {"last down", 4, [](ClipListModel &m) { return m.moveSelected(&ClipRecordList::moveDown); },
         {"10", "20", "30", "40", "50"}, 4},
        {"down", 1, [](ClipListModel &m) { return m.moveSelected(&ClipRecordList::moveDown); },
         {"10", "30", "20", "40", "50"}, 2},
        {"to top", 3, [](ClipListModel &m) { return m.moveSelected(&ClipRecordList::moveToTop); },
         {"40", "10", "20", "30", "50"}, 0},
        {"to bottom", 1, [](ClipListModel &m) { return m.moveSelected(&ClipRecordList::moveToBottom); },
         {"10", "30", "40", "50", "20"}, 4},
    };
    for (const Case &c : cases) {
        clips.clear();
        addClips({10, 20, 30, 40, 50});
        model->select(c.selected);
        previewStops = 0;
        EXPECT_TRUE(c.command(*model)) << c.what;
        EXPECT_EQ(order(), c.order) << c.what;
        EXPECT_EQ(model->selectedIndex(), c.selectedAfter) << c.what;
        EXPECT_EQ(previewStops, 1) << c.what;
    }
}

TEST_F(ClipListModelTest, WithoutASelectionNothingIsRemovedOrMoved)
{
    addClips({10});
    EXPECT_FALSE(model->removeSelected());
    EXPECT_FALSE(model->moveSelected(&ClipRecordList::moveDown));
    EXPECT_EQ(clips.count(), 1);

    model->select(0);
    EXPECT_TRUE(model->removeSelected());
    EXPECT_EQ(clips.count(), 0);
    EXPECT_EQ(model->selectedIndex(), -1);
}

TEST_F(ClipListModelTest, SelectingStopsThePreviewOnlyOnAChange)
{
    addClips({10, 20});
    EXPECT_TRUE(model->select(1));
    EXPECT_FALSE(model->select(1));
    EXPECT_EQ(previewStops, 1);
    EXPECT_TRUE(model->select(7));  // outside the list: nothing
    EXPECT_EQ(model->selectedIndex(), -1);
    EXPECT_FALSE(model->select(-3));
    EXPECT_EQ(previewStops, 2);
}

TEST_F(ClipListModelTest, EstimateFollowsTrimsAndDiscType)
{
    addClips({600, 300});
    EXPECT_EQ(model->estimate().estimateKB, 900);
    EXPECT_EQ(model->estimate().limitKB, 1000);
    EXPECT_TRUE(model->estimate().withinLimit());

    model->select(0);
    model->setSelectedTimes(100, 500);
    EXPECT_EQ(model->estimate().estimateKB, 700);

    addClips({400});
    EXPECT_FALSE(model->estimate().withinLimit());
    model->setDiscType(DiscType::DVD9);
    EXPECT_EQ(model->estimate().limitKB, 2000);
    EXPECT_TRUE(model->estimate().withinLimit());

    model->setSelectedLetterbox(false);
    EXPECT_FALSE(clips[0].letterbox);
    EXPECT_TRUE(clips[1].letterbox);
}

TEST_F(ClipListModelTest, ModeEntryAndConfirmedSettingsSetDiscAndShape)
{
    addClips({10});
    model->select(0);
    model->setDiscType(DiscType::DVD9);
    model->setPictureShape4_3(false);
    settings.dvd5 = true;
    settings.shape4x3 = true;
    model->enterMode(ClipListMode::Converter);
    EXPECT_EQ(model->mode(), ClipListMode::Converter);
    EXPECT_FALSE(model->offersSubtitles());
    EXPECT_EQ(model->selectedIndex(), -1);
    EXPECT_EQ(model->discType(), DiscType::DVD5);
    EXPECT_TRUE(model->pictureShape4_3());

    settings.dvd5 = false;
    settings.shape4x3 = false;
    model->settingsConfirmed();
    EXPECT_EQ(model->discType(), DiscType::DVD9);
    EXPECT_FALSE(model->pictureShape4_3());
}

TEST_F(ClipListModelTest, HandOverByModeAndMenuChoice)
{
    struct Case {
        ClipListMode mode;
        bool withMenu;
        NextStage stage;
        bool hidden;
    } cases[] = {
        {ClipListMode::Builder, true, NextStage::MenuEditor, true},
        {ClipListMode::Builder, false, NextStage::Builder, false},
        {ClipListMode::Converter, true, NextStage::Converter, false},
        {ClipListMode::Converter, false, NextStage::Converter, false},
    };
    for (const Case &c : cases) {
        model->enterMode(c.mode);
        previewStops = 0;
        const NextStage stage = model->handOver(c.withMenu);
        EXPECT_EQ(stage, c.stage);
        EXPECT_EQ(ClipListModel::hidesDuring(stage), c.hidden);
        EXPECT_EQ(previewStops, 1);
    }
}

TEST_F(ClipListModelTest, SubtitlesOnlyInBuilderModeForAClipInTheList)
{
    addClips({10});
    EXPECT_TRUE(model->canEditSubtitle(0));
    EXPECT_FALSE(model->canEditSubtitle(1));
    EXPECT_FALSE(model->canEditSubtitle(-1));
    model->enterMode(ClipListMode::Converter);
    EXPECT_FALSE(model->canEditSubtitle(0));
}

TEST_F(ClipListModelTest, AddingSelectsTheFirstNewClipAndReportsWhatTheUserMustKnow)
{
    const std::string bad = file("notes.txt", 0);
    std::filesystem::remove(bad + ".facts");
    std::vector<std::string> shown;
    ClipListModel::AddOutcome outcome = model->addFiles(
        {bad, file("a.avi", 600), file("b.avi", 300)}, false, corvane_test::test_lib_dir(),
        [&shown](const std::string &name) { shown.push_back(name); });
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(shown, (std::vector<std::string> {"notes.txt", "a.avi", "b.avi"}));
    ASSERT_EQ(clips.count(), 2);
    EXPECT_FALSE(clips[0].letterbox);
    EXPECT_EQ(model->selectedIndex(), 0);
    EXPECT_EQ(outcome.messages, (std::vector<std::string> {UnsupportedFilesMessage({bad})}));
    EXPECT_EQ(previewStops, 1);

    // Over the disc: told in builder mode; the selection stays.
    model->select(1);
    outcome = model->addFiles({file("c.avi", 200)}, true, corvane_test::test_lib_dir());
    EXPECT_EQ(outcome.messages, (std::vector<std::string> {DiscLimitMessage(model->estimate(), DiscType::DVD5)}));
    EXPECT_EQ(model->selectedIndex(), 1);

    model->enterMode(ClipListMode::Converter);
    outcome = model->addFiles({file("d.avi", 200)}, true, corvane_test::test_lib_dir());
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(clips.count(), 4);

    EXPECT_TRUE(model->addFiles({}, true, corvane_test::test_lib_dir()).refused);
}

TEST_F(ClipListModelTest, WhileAddingEveryOtherCommandAndClosingAreRefused)
{
    addClips({10, 20});
    model->select(0);
    bool checked = false;
    model->addFiles({file("a.avi", 60)}, true, corvane_test::test_lib_dir(), [&](const std::string &) {
        checked = true;
        EXPECT_TRUE(model->busy());
        EXPECT_FALSE(model->canEdit());
        EXPECT_TRUE(model->addFiles({file("b.avi", 60)}, true, corvane_test::test_lib_dir()).refused);
        EXPECT_FALSE(model->removeSelected());
        EXPECT_FALSE(model->moveSelected(&ClipRecordList::moveDown));
        EXPECT_FALSE(model->canEditSubtitle(0));
        EXPECT_EQ(model->handOver(true), NextStage::None);
        EXPECT_FALSE(model->close());
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(model->busy());
    EXPECT_TRUE(model->canEdit());
    ASSERT_EQ(clips.count(), 3);
    EXPECT_EQ(model->selectedIndex(), 0);
}

TEST_F(ClipListModelTest, ClosingEmptiesTheProject)
{
    addClips({10, 20});
    model->select(1);
    previewStops = 0;
    EXPECT_TRUE(model->close());
    EXPECT_EQ(clips.count(), 0);
    EXPECT_EQ(model->selectedIndex(), -1);
    EXPECT_EQ(previewStops, 1);
    EXPECT_EQ(model->estimate().estimateKB, 0);
}

} // namespace
} // namespace vt::project
