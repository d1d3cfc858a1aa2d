#include "app/menu/menu_editor_model.h"

#include "app/project/clip_record.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

namespace vt::menu {
namespace {

// The layout measures the captions and headings it places: fonts need a
// QGuiApplication (on the offscreen platform).
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QGuiApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "menu_tests";
        static char *argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Gone before the test program's statics are.
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};
const auto *const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// Frames whose red channel is their second; seconds in noFrame get none,
// and open fails while readable is false.
class ScriptedFrames : public FrameSource {
public:
    bool open(const std::string &file, int startSecond) override
    {
        opened.push_back({file, startSecond});
        isOpen = readable;
        return readable;
    }
    QImage frameAt(int second, project::PictureSize size) override
    {
        asked.push_back(second);
        if (!isOpen || noFrame.count(second))
            return {};
        QImage frame(size.width, size.height, QImage::Format_RGB32);
        frame.fill(QColor(second % 256, 0, 0));
        return frame;
    }
    void close() override { isOpen = false; }

    bool readable = true;
    bool isOpen = false;
    std::set<int> noFrame;
    std::vector<std::pair<std::string, int>> opened;
    std::vector<int> asked;
};

class MenuEditorModelTest : public ::testing::Test {
protected:
    project::ClipRecord &addClip(int32_t duration, int32_t start = 0, int32_t end = -1)
    {
        auto clip = std::make_unique<project::ClipRecord>();
        clip->fileName = dir.filePath(QString("clip%1.mp4").arg(clips.count())).toStdString();
        std::ofstream(clip->fileName) << "x";
        clip->duration = duration;
        clip->setTimes(start, end < 0 ? duration : end);
        clip->displayAspect = 4.0 / 3.0;
        clip->previewWidth = 296;
        clip->previewHeight = 220;
        clip->preview = QImage(296, 220, QImage::Format_RGB32);
        clip->preview.fill(Qt::blue);
        return clips.append(std::move(clip));
    }
    ClipMenu &menuOf(int i) { return *design.menuOf(clips[i]); }

    QTemporaryDir dir;
    project::ClipRecordList clips;
    MenuDesign design;
    MenuEditorModel model{design, clips};
    ScriptedFrames frames;
};

TEST_F(MenuEditorModelTest, OnlyTheFirstTwelveClipsAreOnTheTitleMenu)
{
    for (int i = 0; i < 13; ++i)
        addClip(120);
    int steps = 0;
    model.buildMenu(frames, [&] { ++steps; });
    EXPECT_EQ(steps, 13 + 12);
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(menuOf(i).titleButton) << i;
        EXPECT_TRUE(clips[i].hasTitleButton);
        EXPECT_TRUE(menuOf(i).chapterPage);
    }
    // Four columns, three rows, each button named by a caption under it.
    std::set<int> lefts, tops;
    for (int i = 0; i < 12; ++i) {
        const QRect button = menuOf(i).titleButton->bounds;
        lefts.insert(button.left());
        tops.insert(button.top());
        const auto caption = std::find_if(design.titlePage.texts.begin(), design.titlePage.texts.end(),
                                          [&](const TextItem &t) { return t.captionOf == &clips[i]; });
        ASSERT_NE(caption, design.titlePage.texts.end()) << i;
        EXPECT_EQ(caption->role, TextRole::Caption);
        EXPECT_EQ(caption->text, "clip" + std::to_string(i));
        EXPECT_GT(caption->bounds.top(), button.bottom());
        EXPECT_LE(std::abs(caption->bounds.center().x() - button.center().x()), 1) << i;
    }
    EXPECT_EQ(lefts.size(), 4u);
    EXPECT_EQ(tops.size(), 3u);
    EXPECT_EQ(design.titlePage.texts.size(), 12u);  // no heading was asked for

    // A thirteenth clip that had a button loses it when the menu is built again.
    menuOf(12).titleButton = std::make_unique<TitleButton>();
    model.buildMenu(frames);
    EXPECT_FALSE(menuOf(12).titleButton);
    EXPECT_FALSE(menuOf(12).chapterPage);
    EXPECT_FALSE(clips[12].hasTitleButton);
}

TEST_F(MenuEditorModelTest, DefaultChapterPageByClipLength)
{
    struct Case {
        int32_t start, end;
        std::vector<int32_t> times;
    };
    const Case cases[] = {
        {0, 59, {0}},
        {0, 60, {0, 30}},
        {100, 400, {100, 250}},
        {10, 40, {10}},
    };
    for (const Case &c : cases)
        addClip(500, c.start, c.end);
    model.buildMenu(frames);
    for (int i = 0; i < clips.count(); ++i) {
        ASSERT_TRUE(menuOf(i).chapterPage) << i;
        EXPECT_EQ(menuOf(i).chapterPage->times(), cases[i].times) << i;
        EXPECT_EQ(clips[i].chapters->times(), cases[i].times) << i;
    }
    EXPECT_EQ(frames.opened[2].second, 100);  // the server starts at the clip start
    EXPECT_EQ(frames.opened[0].second, 1);    // and never before second 1
    const ChapterButton &second = menuOf(1).chapterPage->buttons[1];
    EXPECT_EQ(second.picture.pixelColor(0, 0).red(), 30);  // the frame at its time
    EXPECT_EQ(second.picture.size(), QSize(296, 220));
    // Side by side under the page's heading, the clip's name.
    const ChapterButton &first = menuOf(1).chapterPage->buttons[0];
    EXPECT_EQ(second.bounds.top(), first.bounds.top());
    EXPECT_GT(second.bounds.left(), first.bounds.right());
    ASSERT_EQ(menuOf(1).chapterPage->texts.size(), 1u);
    const TextItem &heading = menuOf(1).chapterPage->texts[0];
    EXPECT_EQ(heading.role, TextRole::Heading);
    EXPECT_EQ(heading.text, "clip1");
    EXPECT_LT(heading.bounds.bottom(), first.bounds.top());
}

TEST_F(MenuEditorModelTest, RecordedChapterTimesBecomeThePage)
{
    project::ClipRecord &clip = addClip(600);
    clip.chapters = project::TSubChapter::fromTimes({0, 100, 400});
    model.buildMenu(frames);
    EXPECT_EQ(menuOf(0).chapterPage->times(), (std::vector<int32_t>{0, 100, 400}));
}

TEST_F(MenuEditorModelTest, ChapterPageOutsideTheTrimIsRemade)
{
    addClip(600);
    model.buildMenu(frames);
    EXPECT_EQ(menuOf(0).chapterPage->times(), (std::vector<int32_t>{0, 300}));
    clips[0].setTimes(0, 200);  // trimmed: chapter 300 lies outside
    clips[0].chapters = project::TSubChapter::fromTimes({0, 300});
    model.buildMenu(frames);
    EXPECT_EQ(menuOf(0).chapterPage->times(), (std::vector<int32_t>{0, 100}));
}

TEST_F(MenuEditorModelTest, FrameWithoutPictureKeepsThePreviousPicture)
{
    addClip(600);
    frames.noFrame = {0, 200};
    ASSERT_EQ(model.makeChapterPage(0, frames, 3), ChapterPageResult::Made);
    const auto &buttons = menuOf(0).chapterPage->buttons;
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].picture.pixelColor(0, 0), QColor(Qt::blue));  // the clip's preview
    EXPECT_EQ(buttons[1].picture.pixelColor(0, 0), QColor(Qt::blue));  // the one before
    EXPECT_EQ(buttons[2].picture.pixelColor(0, 0).red(), 400 % 256);
    EXPECT_FALSE(frames.isOpen);  // the server is stopped afterwards
}

TEST_F(MenuEditorModelTest, OldPageStaysUntilTheNewSourceIsChecked)
{
    addClip(600);
    model.makeChapterPage(0, frames);
    const ChapterPage *old = menuOf(0).chapterPage.get();

    EXPECT_EQ(model.makeChapterPage(0, frames, 2), ChapterPageResult::Unchanged);  // same times
    EXPECT_EQ(menuOf(0).chapterPage.get(), old);

    frames.readable = false;
    EXPECT_EQ(model.applyChapterTimes(0, frames, {0, 100, 200}), ChapterPageResult::NotReadable);
    EXPECT_EQ(menuOf(0).chapterPage.get(), old);
    EXPECT_EQ(clips[0].chapters->times(), (std::vector<int32_t>{0, 300}));

    std::remove(clips[0].fileName.c_str());
    EXPECT_EQ(model.applyChapterTimes(0, frames, {0, 100, 200}), ChapterPageResult::NoSource);
    EXPECT_FALSE(menuOf(0).chapterPage);
    EXPECT_FALSE(clips[0].chapters);
}

TEST_F(MenuEditorModelTest, NewChapterTimesKeepThePageBackgroundAndShowIt)
{
    addClip(600);
    model.setBackgrounds({"/b/one.jpg", "/b/two.jpg"});
    EXPECT_EQ(design.titlePage.backgroundFile, "/b/one.jpg");
    model.buildMenu(frames);
    EXPECT_EQ(menuOf(0).chapterPage->backgroundFile, "/b/two.jpg");  // the second background
    model.selectClip(0);
    model.showChapterPage();
    EXPECT_TRUE(model.setPageBackground("/b/mine.png"));
    EXPECT_FALSE(model.setPageBackground("/b/mine.png"));
    model.setPageMusic("/m/a.mp3");
    EXPECT_EQ(clips[0].chapters->musicFile, "/m/a.mp3");

    model.showTitlePage();
    ASSERT_EQ(model.applyChapterTimes(0, frames, {0, 120, 240, 360}), ChapterPageResult::Made);
    EXPECT_EQ(model.page(), MenuPage::Chapter);
    EXPECT_EQ(menuOf(0).chapterPage->backgroundFile, "/b/mine.png");
    // Four chapters: laid out again, two by two.
    const auto &buttons = menuOf(0).chapterPage->buttons;
    EXPECT_EQ(buttons[3].bounds.top(), buttons[2].bounds.top());
    EXPECT_EQ(buttons[3].bounds.left(), buttons[1].bounds.left());
    EXPECT_GT(buttons[3].bounds.top(), buttons[1].bounds.bottom());
    EXPECT_EQ(clips[0].chapters->times(), (std::vector<int32_t>{0, 120, 240, 360}));
}

TEST_F(MenuEditorModelTest, ShapeSwitchMovesBackButtonsAndComesBackExactly)
{
    addClip(600);
    model.setBackButtonSize({60, 30});
    model.buildMenu(frames);
    EXPECT_EQ(design.titlePage.backButton, QPoint(10, 348));  // (0, 1000) clamped to the bottom left
    EXPECT_EQ(menuOf(0).chapterPage->backButton, QPoint(10, 348));

    model.switchShape(PictureShape::Wide);
    EXPECT_EQ(design.titlePage.backButton, QPoint(10, 252));
    EXPECT_EQ(menuOf(0).chapterPage->backButton, QPoint(10, 252));
    model.switchShape(PictureShape::Standard);
    EXPECT_EQ(design.titlePage.backButton, QPoint(10, 348));
    EXPECT_EQ(menuOf(0).chapterPage->backButton, QPoint(10, 348));

    // A back button higher up goes up 96 and comes back down 96.
    model.showTitlePage();
    model.moveBackButton({200, 150});
    model.switchShape(PictureShape::Wide);
    EXPECT_EQ(design.titlePage.backButton, QPoint(200, 54));
    model.switchShape(PictureShape::Standard);
    EXPECT_EQ(design.titlePage.backButton, QPoint(200, 150));
}

TEST_F(MenuEditorModelTest, SixteenNineKeepsEveryElementInsideTheSmallerPanel)
{
    addClip(600);
    model.buildMenu(frames);
    model.selectClip(0);
    TextItem text;
    text.bounds = QRect(0, 0, 120, 30);
    model.showTitlePage();
    model.addText(text, {50, 500});
    ASSERT_TRUE(model.showChapterPage());
    TextItem *chapterText = model.addText(text, {50, 500});
    ASSERT_TRUE(chapterText);
    EXPECT_EQ(chapterText->bounds.topLeft(), QPoint(50, 348));
    // The user drags a button on each page down to the bottom.
    menuOf(0).chapterPage->buttons[1].bounds.moveTopLeft({100, 318});
    model.placedByUser();
    model.showTitlePage();
    menuOf(0).titleButton->bounds.moveTopLeft({20, 300});
    model.placedByUser();

    model.switchShape(PictureShape::Wide);
    const QRect panel(QPoint(0, 0), model.panel().size());
    EXPECT_EQ(menuOf(0).titleButton->bounds.bottom() + 1, 292 - 10);
    EXPECT_EQ(menuOf(0).chapterPage->buttons[1].bounds.bottom() + 1, 292 - 10);
    EXPECT_EQ(design.titlePage.texts.back().bounds.top(), 252);
    EXPECT_EQ(menuOf(0).chapterPage->texts.back().bounds.top(), 252);  // chapter texts too
    for (const TextItem &t : menuOf(0).chapterPage->texts)
        EXPECT_TRUE(panel.contains(t.bounds)) << t.text;
    for (const TextItem &t : design.titlePage.texts)
        EXPECT_TRUE(panel.contains(t.bounds)) << t.text;
}

TEST_F(MenuEditorModelTest, PagesLeftAsLaidOutAreLaidOutAgainForTheOtherShape)
{
    addClip(600);
    addClip(600);
    model.setTitleHeading("Holidays");
    model.buildMenu(frames);
    const QRect standardButton = menuOf(1).titleButton->bounds;
    const QRect standardChapter = menuOf(1).chapterPage->buttons[1].bounds;

    model.switchShape(PictureShape::Wide);
    const QRect wideButton = menuOf(1).titleButton->bounds;
    EXPECT_NE(wideButton, standardButton);
    EXPECT_NEAR(double(wideButton.width() - 16) / (wideButton.height() - 16), 16.0 / 9.0, 0.05);
    const QRect panel(QPoint(10, 10), QSize(498, 272));
    EXPECT_TRUE(panel.contains(wideButton));
    for (const TextItem &t : design.titlePage.texts)
        EXPECT_TRUE(panel.contains(t.bounds)) << t.text;

    // Back to 4:3: the same layout as before; a page the user arranged is only clamped.
    model.switchShape(PictureShape::Standard);
    EXPECT_EQ(menuOf(1).titleButton->bounds, standardButton);
    EXPECT_EQ(menuOf(1).chapterPage->buttons[1].bounds, standardChapter);
    model.showTitlePage();
    menuOf(1).titleButton->bounds.moveTopLeft({300, 250});
    model.placedByUser();
    model.switchShape(PictureShape::Wide);
    EXPECT_EQ(menuOf(1).titleButton->bounds.size(), standardButton.size());
    EXPECT_EQ(menuOf(1).titleButton->bounds.left(), 300);
}

TEST_F(MenuEditorModelTest, CaptionsLeaveWithTheirTitleButtons)
{
    for (int i = 0; i < 3; ++i)
        addClip(120);
    model.setTitleHeading("Holidays");
    model.buildMenu(frames);
    TextItem mine;
    mine.text = "mine";
    model.showTitlePage();
    model.addText(mine, {10, 10});
    auto captions = [&] {
        std::vector<const project::ClipRecord *> of;
        for (const TextItem &t : design.titlePage.texts)
            if (t.role == TextRole::Caption)
                of.push_back(t.captionOf);
        return of;
    };
    EXPECT_EQ(captions(), (std::vector<const project::ClipRecord *>{&clips[0], &clips[1], &clips[2]}));

    model.takeOffTitleMenu(1);
    EXPECT_EQ(captions(), (std::vector<const project::ClipRecord *>{&clips[0], &clips[2]}));
    const project::ClipRecord *third = &clips[2];
    model.removeClip(0);
    EXPECT_EQ(captions(), (std::vector<const project::ClipRecord *>{third}));
    // A clip leaving the list without the editor: its caption is gone at the
    // next build, which puts the clip left back on the title menu.
    clips.removeAt(1);
    model.buildMenu(frames);
    EXPECT_EQ(captions(), (std::vector<const project::ClipRecord *>{&clips[0]}));

    // Clearing the project keeps the heading and the user's own texts.
    design.clearClips();
    EXPECT_TRUE(captions().empty());
    std::vector<std::string> left;
    for (const TextItem &t : design.titlePage.texts)
        left.push_back(t.text);
    EXPECT_EQ(left, (std::vector<std::string>{"Holidays", "mine"}));
}

TEST_F(MenuEditorModelTest, LayoutTextsTheUserRemovedStayRemoved)
{
    addClip(600);
    addClip(600);
    model.setTitleHeading("Holidays");
    model.buildMenu(frames);
    auto indexOf = [](const std::vector<TextItem> &texts, TextRole role, const project::ClipRecord *of = nullptr) {
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i].role == role && texts[i].captionOf == of)
                return static_cast<int>(i);
        return -1;
    };
    model.showTitlePage();
    model.removeText(indexOf(design.titlePage.texts, TextRole::Heading));
    model.removeText(indexOf(design.titlePage.texts, TextRole::Caption, &clips[0]));
    model.selectClip(1);
    ASSERT_TRUE(model.showChapterPage());
    model.clearTexts();

    // Laid out again for the other shape, then after a heading edit.
    model.switchShape(PictureShape::Wide);
    model.showTitlePage();
    model.refreshLayout();
    const std::vector<TextItem> &title = design.titlePage.texts;
    EXPECT_EQ(indexOf(title, TextRole::Heading), -1);
    EXPECT_EQ(indexOf(title, TextRole::Caption, &clips[0]), -1);
    EXPECT_NE(indexOf(title, TextRole::Caption, &clips[1]), -1);
    EXPECT_TRUE(menuOf(1).chapterPage->texts.empty());
    EXPECT_NE(indexOf(menuOf(0).chapterPage->texts, TextRole::Heading), -1);

    // A new project's title texts start from the layout again.
    design.titlePage.clearTexts();
    model.layOutTitleButtons();
    EXPECT_NE(indexOf(title, TextRole::Heading), -1);
    EXPECT_NE(indexOf(title, TextRole::Caption, &clips[0]), -1);
}

TEST_F(MenuEditorModelTest, DraggingResizingAndLockRatio)
{
    project::ClipRecord &clip = addClip(600);
    model.buildMenu(frames);
    TitleButton &button = *menuOf(0).titleButton;
    // The left edge 100 pixels to the right from 104 wide: 80 wide, left + 24.
    const QRect start(100, 100, 104, 78);
    EXPECT_EQ(model.draggedBounds(HitZone::LeftEdge, start, {100, 0}), QRect(124, 100, 80, 78));
    // Moves stop at the safe area.
    EXPECT_EQ(model.draggedBounds(HitZone::Move, start, {-500, 500}), QRect(10, 300, 104, 78));

    clip.displayAspect = 16.0 / 9.0;
    button.bounds = QRect(20, 15, 104, 78);
    model.setLockRatio(button, clip, true);
    EXPECT_EQ(button.bounds, QRect(20, 15, 104, 65));
    clip.displayAspect = 0;  // unusable shape: nothing changes
    model.applyLockRatio(button, clip);
    EXPECT_EQ(button.bounds, QRect(20, 15, 104, 65));
}

TEST_F(MenuEditorModelTest, PagesSelectionAndDeletingChapters)
{
    addClip(600);
    addClip(30);
    model.buildMenu(frames);
    EXPECT_EQ(model.page(), MenuPage::None);
    EXPECT_FALSE(model.addText(TextItem{}, {0, 0}));  // no page shown: discarded
    model.showTitlePage();
    model.selectClip(0);
    ASSERT_TRUE(model.showChapterPage());

    model.selectChapterButton(0);
    EXPECT_EQ(model.deleteChapterButton(), MenuEditorModel::ChapterDeletion::FirstChapter);
    model.selectChapterButton(1);
    EXPECT_EQ(model.deleteChapterButton(), MenuEditorModel::ChapterDeletion::Deleted);
    EXPECT_EQ(clips[0].chapters->times(), (std::vector<int32_t>{0}));
    EXPECT_EQ(model.deleteChapterButton(), MenuEditorModel::ChapterDeletion::NothingSelected);

    // Another clip's chapter page replaces the one shown.
    model.selectClip(1);
    EXPECT_EQ(model.page(), MenuPage::Chapter);
    EXPECT_EQ(model.shownChapterPage(), menuOf(1).chapterPage.get());
    model.takeOffTitleMenu(1);
    EXPECT_EQ(model.page(), MenuPage::Title);
    EXPECT_FALSE(clips[1].hasTitleButton);
    EXPECT_TRUE(model.putOnTitleMenu(1, frames));
    EXPECT_FALSE(model.putOnTitleMenu(1, frames));
    EXPECT_EQ(menuOf(1).titleButton->bounds.topLeft(), QPoint(10, 10));
    EXPECT_TRUE(menuOf(1).chapterPage);
}

TEST_F(MenuEditorModelTest, ReorderingAndRemovingClips)
{
    addClip(600);
    addClip(300);
    addClip(200);
    model.buildMenu(frames);
    const project::ClipRecord *first = &clips[0];
    model.selectClip(0);
    model.swapClips(0, 1);
    EXPECT_EQ(&clips[1], first);
    EXPECT_EQ(model.selectedClip(), 1);
    model.removeClip(1);
    EXPECT_EQ(clips.count(), 2);
    EXPECT_EQ(model.selectedClip(), -1);
    EXPECT_EQ(design.clips.size(), 2u);
    EXPECT_TRUE(design.titleMenuWanted(clips));
}

} // namespace
} // namespace vt::menu
