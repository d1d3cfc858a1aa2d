// The scripted stand-in converter: the behaviour window tests rely on.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "engines/converter/test_support/queue_target.h"
#include "engines/converter/test_support/test_media.h"

using namespace corvane_test;
using namespace std::chrono_literals;

namespace {

class FakeConverterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.load(test_lib_dir() + "/libCorvane.so")) << lib.module.error();
        clip = scratch_dir() + "/clip.avi";
        std::ofstream(clip + ".facts") << "[facts]\r\n; scripted clip\r\nduration = 40\r\nframerate=29.97\nvideobitrate=4500\nwidth=720\nheight=480\n"
                                          "aspect=3\nsamplerate=48000\nchannels=6\naudiobitrate=448\nprogressive=0\n"
                                          "encode_pace=10\n";
    }

    CorvaneLibrary lib;
    std::string clip;
};

} // namespace

TEST_F(FakeConverterTest, FactsComeFromTheSidecar)
{
    int32_t v[CORVANE_INFO_VALUES] = {};
    ASSERT_EQ(lib.get_file_info(clip.data(), CORVANE_INFO_VALUES, v), 0);
    EXPECT_EQ(v[CORVANE_INFO_DURATION], 40);
    EXPECT_FLOAT_EQ(float_value(v[CORVANE_INFO_FRAME_RATE]), 29.97f);
    EXPECT_EQ(v[CORVANE_INFO_WIDTH], 720);
    EXPECT_EQ(v[CORVANE_INFO_ASPECT_CODE], 3);
    EXPECT_EQ(v[CORVANE_INFO_CHANNELS], 6);
    EXPECT_EQ(v[CORVANE_INFO_PROGRESSIVE], 0);
    std::string other = scratch_dir() + "/other.avi";
    EXPECT_EQ(lib.get_file_info(other.data(), CORVANE_INFO_VALUES, v), -1);
}

TEST_F(FakeConverterTest, PreviewPostsFromItsThreadAndColourTellsTheSecond)
{
    QueueTarget queue;
    ASSERT_EQ(lib.frame_init(queue.target(), 2, clip.c_str(), "", "3"), 0);
    ASSERT_TRUE(queue.wait_for(CORVANE_MSG_READY, 1, 2s));
    uint8_t *pixels = nullptr;
    int32_t second = -1;
    ASSERT_EQ(lib.get_frame(4, 2, nullptr, &pixels, &second), 0);
    EXPECT_EQ(second, 3);
    lib.next_frame_time(300);
    lib.next_frame_time(17);
    ASSERT_TRUE(queue.wait_for(CORVANE_MSG_FRAME, 2, 2s));
    ASSERT_EQ(lib.get_frame(4, 2, nullptr, &pixels, &second), 0);
    EXPECT_EQ(second, 17);
    EXPECT_EQ(pixels[0], 17);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_EQ(pixels[2], 0x80);
    ASSERT_EQ(lib.frame_uninit(), 0);
    EXPECT_TRUE(queue.wait_for(CORVANE_MSG_STOPPED, 1, 1s));
}

TEST_F(FakeConverterTest, ConversionPumpsStopsAndRecordsItsArguments)
{
    QueueTarget queue;
    queue.on_pump([&] {
        int32_t info[4] = {};
        lib.get_info(info);
        if (info[0] >= 20)
            lib.stop_convert();
    });
    MpegEncCall call;
    call.source = clip;
    call.output = scratch_dir() + "/OutputVOB_0.vob";
    call.start = "5";
    ASSERT_EQ(call.run(lib, queue.target()), 0);
    int32_t info[4] = {};
    lib.get_info(info);
    EXPECT_GE(info[0], 20);
    EXPECT_LT(info[0], 35);
    std::ifstream written(call.output);
    std::stringstream text;
    text << written.rdbuf();
    EXPECT_EQ(text.str().rfind("FAKEVOB\n" + clip + "\n5\n48000\n4:3\n", 0), 0u) << text.str();

    call.abi = 1;
    EXPECT_EQ(call.run(lib, queue.target()), -1);
}
