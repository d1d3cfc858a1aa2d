#include "app/menu/frame_grabber.h"

#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vt::menu {
namespace {

using namespace std::chrono_literals;

std::string scriptedClip(const std::string &name, const std::string &content, const std::string &facts = "")
{
    const std::string clip = corvane_test::scratch_dir() + "/" + name;
    std::ofstream(clip) << content;
    if (!facts.empty())
        std::ofstream(clip + ".facts") << facts;
    return clip;
}

int secondOf(const QImage &frame)
{
    return qBlue(frame.pixel(0, 0));
}

TEST(FrameGrabber, FramesOneSecondAfterAnother)
{
    FrameGrabber grabber(corvane_test::test_lib_dir());
    EXPECT_TRUE(grabber.libraryAvailable());
    const std::string clip = scriptedClip("chapters.mkv", "x", "[f]\nduration=90\nwidth=64\nheight=48\n");
    ASSERT_TRUE(grabber.open(clip, 1));
    for (int second : {0, 45, 7}) {
        const QImage frame = grabber.frameAt(second, {40, 30});
        ASSERT_EQ(frame.size(), QSize(40, 30));
        EXPECT_EQ(secondOf(frame), second);
    }
    EXPECT_TRUE(grabber.frameAt(500, {40, 30}).isNull());  // past the end: answered without a frame
    grabber.close();
    EXPECT_FALSE(grabber.isOpen());
}

TEST(FrameGrabber, RealLibraryServesAFixtureClip)
{
    FrameGrabber grabber(corvane_test::bin_dir());
    const std::string clip = corvane_test::fixture(
        "menu_grabber.mp4", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3", "-pix_fmt", "yuv420p"});
    ASSERT_TRUE(grabber.open(clip, 1));
    const QImage first = grabber.frameAt(0, {80, 60});
    const QImage later = grabber.frameAt(2, {80, 60});
    ASSERT_EQ(first.size(), QSize(80, 60));
    ASSERT_EQ(later.size(), QSize(80, 60));
    EXPECT_NE(first, later);  // the test pattern moves
}

TEST(FrameGrabber, MissingOrSilentLibraryGivesUpWithinItsTimeOut)
{
    FrameGrabber missing(corvane_test::scratch_dir());
    EXPECT_FALSE(missing.libraryAvailable());
    EXPECT_FALSE(missing.open(scriptedClip("any.mkv", "x"), 1));

    FrameGrabber fake(corvane_test::test_lib_dir());
    EXPECT_FALSE(fake.open(scriptedClip("unreadable.mkv", "x"), 1));  // no facts: the server cannot open it
    EXPECT_FALSE(fake.isOpen());

    FrameGrabber silent(corvane_test::test_lib_dir() + "/slow", 200ms);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(silent.open(scriptedClip("silent.mkv", "silent"), 1));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_FALSE(silent.isOpen());
}

TEST(FrameGrabber, LateAnswerIsNotTakenForTheNextRequest)
{
    FrameGrabber grabber(corvane_test::test_lib_dir() + "/slow", 400ms);
    ASSERT_TRUE(grabber.open(scriptedClip("late.mkv", "late 500"), 1));
    EXPECT_TRUE(grabber.frameAt(5, {8, 8}).isNull());  // its answer comes after the wait gave up
    const QImage next = grabber.frameAt(6, {8, 8});    // the answer to 5 arrives first
    ASSERT_FALSE(next.isNull());
    EXPECT_EQ(secondOf(next), 6);
}

TEST(FrameGrabber, AnswerWithoutFrameGivesNoPicture)
{
    FrameGrabber grabber(corvane_test::test_lib_dir() + "/slow", 500ms);
    ASSERT_TRUE(grabber.open(scriptedClip("noframe.mkv", "noframe"), 1));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(grabber.frameAt(3, {8, 8}).isNull());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 400ms);  // answered, not timed out
}

} // namespace
} // namespace vt::menu
