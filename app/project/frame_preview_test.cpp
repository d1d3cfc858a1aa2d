#include "app/project/frame_preview.h"

#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <vector>

namespace vt::project {
namespace {

// Posts queue from any thread; pumping delivers them to the preview, as a
// window's event loop would.
class PreviewTarget {
public:
    PreviewTarget()
    {
        target_.post = [](VtMessageTarget *self, uint32_t msg, intptr_t w, intptr_t l) {
            auto *me = static_cast<PreviewTarget *>(self->user);
            std::lock_guard<std::mutex> lock(me->mutex_);
            me->queue_.push_back({msg, w, l});
        };
        target_.pump = [](VtMessageTarget *self) { static_cast<PreviewTarget *>(self->user)->deliver(); };
        target_.user = this;
    }
    VtMessageTarget *target() { return &target_; }
    FramePreview *preview = nullptr;

private:
    struct Message {
        uint32_t id;
        intptr_t w, l;
    };
    void deliver()
    {
        std::vector<Message> messages;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            messages.swap(queue_);
        }
        for (const Message &m : messages)
            preview->onMessage(m.id, m.w, m.l);
    }
    VtMessageTarget target_{};
    std::mutex mutex_;
    std::vector<Message> queue_;
};

class FramePreviewTest : public ::testing::Test {
protected:
    void start(const std::string &libraryFolder)
    {
        preview = std::make_unique<FramePreview>(target.target(), libraryFolder);
        target.preview = preview.get();
        preview->onFrame = [this](const FramePreview::Frame &frame) { frames.push_back(frame); };
    }
    // Pumps until a frame message has been handled (the controls come back).
    bool settle()
    {
        for (int i = 0; i < 500 && !preview->controlsEnabled(); ++i) {
            target.target()->pump(target.target());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return preview->controlsEnabled();
    }

    PreviewTarget target;
    std::unique_ptr<FramePreview> preview;
    std::vector<FramePreview::Frame> frames;
};

TEST_F(FramePreviewTest, RealLibraryFrameAtAChosenSecond)
{
    start(corvane_test::bin_dir());
    preview->setClip(corvane_test::clip_pal_4_3(), {296, 220}, {320, 240}, 1);
    ASSERT_TRUE(preview->request(2));
    EXPECT_TRUE(preview->seeking());
    ASSERT_TRUE(settle());  // ready → the clip's start (second 1) is asked for
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].second, 1);
    ASSERT_TRUE(preview->request(2));
    EXPECT_FALSE(preview->controlsEnabled());
    ASSERT_TRUE(settle());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].second, 2);
    EXPECT_EQ(frames[1].preview.size(), QSize(296, 220));
    EXPECT_EQ(frames[1].display.size(), QSize(320, 240));
    EXPECT_NE(frames[0].display, frames[1].display);  // the test pattern moves

    ASSERT_TRUE(preview->request(2));  // the frame already shown: nothing asked
    EXPECT_TRUE(preview->controlsEnabled());
    EXPECT_TRUE(preview->stop());
    EXPECT_FALSE(preview->loaded());
}

TEST_F(FramePreviewTest, FramesWithoutPictureAreNotDrawn)
{
    const std::string clip = corvane_test::scratch_dir() + "/preview.mkv";
    std::ofstream(clip) << "x";
    std::ofstream(clip + ".facts") << "[f]\nduration=20\nwidth=64\nheight=48\n";
    start(corvane_test::test_lib_dir());
    preview->setClip(clip, {64, 48}, {64, 48}, 7);
    ASSERT_TRUE(preview->request(7));
    ASSERT_TRUE(settle());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(qBlue(frames[0].preview.pixel(0, 0)), 7);  // the scripted frame of second 7

    ASSERT_TRUE(preview->request(99));  // past the end: answered with wparam 0
    ASSERT_TRUE(settle());
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_TRUE(preview->stop());
}

TEST_F(FramePreviewTest, StopGivesUpWhenNoMessageArrives)
{
    VtMessageTarget deaf{};
    deaf.post = [](VtMessageTarget *, uint32_t, intptr_t, intptr_t) {};
    deaf.pump = [](VtMessageTarget *) {};
    FramePreview silent(&deaf, corvane_test::bin_dir());
    silent.setClip(corvane_test::clip_pal_4_3(), {296, 220}, {320, 240}, 1);
    ASSERT_TRUE(silent.request(1));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(silent.stop(std::chrono::milliseconds(200)));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(silent.loaded());
}

TEST_F(FramePreviewTest, MissingLibraryDoesNotStart)
{
    start(corvane_test::scratch_dir());
    preview->setClip(corvane_test::clip_pal_4_3(), {296, 220}, {320, 240}, 1);
    EXPECT_FALSE(preview->request(1));
    EXPECT_FALSE(preview->loaded());
    EXPECT_TRUE(preview->stop());
}

} // namespace
} // namespace vt::project
