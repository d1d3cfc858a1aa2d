#include "plugins/mediapipe/pipeline_dump.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using mediapipe::StreamKind;
using mediapipe::StreamPipeline;

const char *const kI420 = "video/x-raw,format=I420";
const char *const kPcm = "audio/x-raw,format=S16LE,layout=interleaved";

class StreamPipelineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(mediapipe::mediapipeInit());
        char pattern[] = "/tmp/mediapipe_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                         "-c:v mpeg4 -c:a mp2 both.avi"));
        ASSERT_TRUE(clip("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v mpeg4 video.mp4"));
        std::ofstream(folder_ + "/notes.avi") << "this is no media file at all\n";
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }
    static bool clip(const std::string &args)
    {
        return std::system(("cd '" + folder_ + "' && ffmpeg -nostdin -v error -y " + args).c_str()) == 0;
    }
    static std::string file(const char *name) { return folder_ + "/" + name; }
    static std::string folder_;
};
std::string StreamPipelineTest::folder_;

int pullAll(StreamPipeline &p, double *firstTime = nullptr)
{
    int count = 0;
    std::string error;
    for (;;) {
        GstSample *s = nullptr;
        StreamPipeline::Pulled r = p.pull(&s, &error);
        if (r != StreamPipeline::Pulled::Sample) {
            EXPECT_EQ(r, StreamPipeline::Pulled::End) << error;
            return count;
        }
        if (count++ == 0 && firstTime)
            *firstTime = StreamPipeline::streamTime(s);
        gst_sample_unref(s);
    }
}

TEST_F(StreamPipelineTest, OpensTheWantedStreamOrTellsItIsMissing)
{
    struct Case {
        const char *file;
        StreamKind kind;
        StreamPipeline::Opened opened;
    };
    const Case cases[] = {
        {"both.avi", StreamKind::Video, StreamPipeline::Opened::Ok},
        {"both.avi", StreamKind::Audio, StreamPipeline::Opened::Ok},
        {"video.mp4", StreamKind::Video, StreamPipeline::Opened::Ok},
        {"video.mp4", StreamKind::Audio, StreamPipeline::Opened::NoStream},
        {"notes.avi", StreamKind::Video, StreamPipeline::Opened::Failed},
        {"missing.avi", StreamKind::Audio, StreamPipeline::Opened::Failed},
    };
    for (const Case &c : cases) {
        StreamPipeline p(c.kind, c.kind == StreamKind::Video ? kI420 : kPcm);
        std::string error;
        auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(p.open(file(c.file), &error), c.opened) << c.file << ": " << error;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << c.file;
        if (c.opened == StreamPipeline::Opened::Ok) {
            EXPECT_NE(p.caps(), nullptr);
        }
    }
}

TEST_F(StreamPipelineTest, DeliversEveryPictureThenTheEnd)
{
    StreamPipeline p(StreamKind::Video, kI420);
    std::string error;
    ASSERT_EQ(p.open(file("both.avi"), &error), StreamPipeline::Opened::Ok) << error;
    EXPECT_NEAR(p.duration(), 2.0, 0.1);
    double first = -1;
    EXPECT_EQ(pullAll(p, &first), 50);
    EXPECT_NEAR(first, 0.0, 1e-6);
    GstSample *s = nullptr;
    EXPECT_EQ(p.pull(&s, &error), StreamPipeline::Pulled::End) << "the end stays";
}

TEST_F(StreamPipelineTest, SeekingGivesStreamTimes)
{
    for (StreamKind kind : {StreamKind::Video, StreamKind::Audio}) {
        StreamPipeline p(kind, kind == StreamKind::Video ? kI420 : kPcm);
        std::string error;
        ASSERT_EQ(p.open(file("both.avi"), &error), StreamPipeline::Opened::Ok) << error;
        ASSERT_TRUE(p.seek(1.0, &error)) << error;
        double first = -1;
        int count = pullAll(p, &first);
        EXPECT_NEAR(first, 1.0, 0.05);
        if (kind == StreamKind::Video) {
            EXPECT_EQ(count, 25);
        }
        // Seeking back while running starts over at the new place.
        ASSERT_TRUE(p.seek(0.5, &error)) << error;
        pullAll(p, &first);
        EXPECT_NEAR(first, 0.5, 0.05);
    }
}

TEST_F(StreamPipelineTest, AnErrorOnTheBusEndsThePull)
{
    StreamPipeline p(StreamKind::Video, kI420);
    std::string error;
    ASSERT_EQ(p.open(file("both.avi"), &error), StreamPipeline::Opened::Ok) << error;
    GstSample *s = nullptr;
    ASSERT_EQ(p.pull(&s, &error), StreamPipeline::Pulled::Sample);
    gst_sample_unref(s);
    GError *e = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "broken picture");
    gst_element_post_message(p.pipeline(), gst_message_new_error(GST_OBJECT(p.pipeline()), e, nullptr));
    g_error_free(e);
    EXPECT_EQ(p.pull(&s, &error), StreamPipeline::Pulled::Error);
    EXPECT_EQ(error, "broken picture");
}

TEST_F(StreamPipelineTest, StoppingReleasesABlockedStreamingThread)
{
    // One sample is pulled; the pipeline then fills the queue and blocks on it.
    StreamPipeline p(StreamKind::Audio, kPcm);
    std::string error;
    ASSERT_EQ(p.open(file("both.avi"), &error), StreamPipeline::Opened::Ok) << error;
    GstSample *s = nullptr;
    ASSERT_EQ(p.pull(&s, &error), StreamPipeline::Pulled::Sample);
    gst_sample_unref(s);
    std::string dump = mediapipe::pipelineDump(p.pipeline());
    EXPECT_NE(dump.find("factory=\"appsink\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("audio/x-raw"), std::string::npos);
    p.stop();
}

TEST(PipelineDumpTest, EscapesText)
{
    EXPECT_EQ(mediapipe::xmlEscape("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
}

}  // namespace
