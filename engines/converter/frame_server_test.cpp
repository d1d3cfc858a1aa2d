// The frame preview (X_GetFrame_Init, X_Set_NextFrame_Time,
// X_GetFrame_UnInit) through the loaded library.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/queue_target.h"
#include "engines/converter/test_support/test_media.h"

using namespace corvane_test;
using namespace std::chrono_literals;

namespace {

class FrameServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.load(bin_dir() + "/libCorvane.so")) << lib.module.error(); }

    void TearDown() override
    {
        if (started)
            lib.frame_uninit();
    }

    void start(const std::string &path, const char *second = "0")
    {
        ASSERT_EQ(lib.frame_init(queue.target(), 2, path.c_str(), "", second), 0);
        started = true;
        ASSERT_TRUE(queue.wait_for(CORVANE_MSG_READY, 1, 5s));
    }

    // Asks for second and waits for the answer; returns the second of the
    // current frame afterwards, or -1 when the answer had no frame.
    int frame_at(int second)
    {
        size_t answers = queue.count(CORVANE_MSG_FRAME);
        EXPECT_EQ(lib.next_frame_time(second), 0);
        EXPECT_TRUE(queue.wait_for(CORVANE_MSG_FRAME, answers + 1, 5s));
        Message answer = last(CORVANE_MSG_FRAME);
        EXPECT_EQ(answer.lparam, second);
        if (answer.wparam != 1)
            return -1;
        uint8_t *pixels = nullptr;
        int32_t shown = -1;
        EXPECT_EQ(lib.get_frame(32, 24, nullptr, &pixels, &shown), 0);
        EXPECT_NE(pixels, nullptr);
        return shown;
    }

    Message last(uint32_t id)
    {
        Message found{0, 0, 0};
        for (const Message &m : queue.delivered())
            if (m.id == id)
                found = m;
        return found;
    }

    CorvaneLibrary lib;
    QueueTarget queue;
    bool started = false;
};

} // namespace

TEST_F(FrameServerTest, SeeksAccuratelyForwardAndBack)
{
    start(clip_pal_4_3());
    EXPECT_EQ(last(CORVANE_MSG_READY).wparam, 1);
    EXPECT_EQ(frame_at(2), 2);
    EXPECT_EQ(frame_at(0), 0);
    EXPECT_EQ(frame_at(1), 1);
    // Past the end the last picture (at 2.96 or 3.0 s) is shown.
    int last_second = frame_at(60);
    EXPECT_GE(last_second, 2);
    EXPECT_LE(last_second, 3);
    EXPECT_EQ(frame_at(1), 1);
}

TEST_F(FrameServerTest, EveryRequestIsAnsweredAndTheLatestWins)
{
    start(clip_ntsc_interlaced());
    for (int second : {0, 1, 0, 1, 1, 0, 1})
        ASSERT_EQ(lib.next_frame_time(second), 0);
    ASSERT_TRUE(queue.wait_for(CORVANE_MSG_FRAME, 7, 5s));
    std::this_thread::sleep_for(100ms);
    queue.wait_for(CORVANE_MSG_FRAME, 8, 0ms);
    EXPECT_EQ(queue.count(CORVANE_MSG_FRAME), 7u);
    uint8_t *pixels = nullptr;
    int32_t shown = -1;
    ASSERT_EQ(lib.get_frame(16, 16, nullptr, &pixels, &shown), 0);
    EXPECT_EQ(shown, 1);
}

TEST_F(FrameServerTest, AFileThatCannotBeOpenedIsStillAnswered)
{
    start(scratch_dir() + "/no-such-clip.avi");
    EXPECT_EQ(last(CORVANE_MSG_READY).wparam, 0);
    EXPECT_EQ(frame_at(1), -1);
    ASSERT_EQ(lib.frame_uninit(), 0);
    started = false;
    EXPECT_TRUE(queue.wait_for(CORVANE_MSG_STOPPED, 1, 1s));
}

TEST_F(FrameServerTest, UnInitNeverHangsAndThePreviewCanStartAgain)
{
    start(clip_long(), "5");
    for (int second : {19, 3, 15, 8})
        lib.next_frame_time(second);
    auto before = std::chrono::steady_clock::now();
    ASSERT_EQ(lib.frame_uninit(), 0);
    started = false;
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_TRUE(queue.wait_for(CORVANE_MSG_STOPPED, 1, 1s));
    EXPECT_EQ(lib.next_frame_time(1), -1);
    EXPECT_EQ(lib.frame_uninit(), -1);

    start(clip_pal_4_3());
    EXPECT_EQ(lib.frame_init(queue.target(), 2, clip_pal_4_3().c_str(), "", "0"), -1) << "one preview at a time";
    EXPECT_EQ(frame_at(2), 2);
}

TEST_F(FrameServerTest, StartSecondIsTheFirstCurrentFrame)
{
    start(clip_long(), "7");
    uint8_t *pixels = nullptr;
    int32_t shown = -1;
    ASSERT_EQ(lib.get_frame(16, 16, nullptr, &pixels, &shown), 0);
    EXPECT_EQ(shown, 7);
}
