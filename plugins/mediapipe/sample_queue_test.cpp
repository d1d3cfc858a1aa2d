#include "plugins/mediapipe/sample_queue.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <sstream>
#include <string>

namespace {

using mediapipe::SampleQueue;
using namespace std::chrono_literals;

GstSample *numbered(int n)
{
    GstBuffer *b = gst_buffer_new();
    GST_BUFFER_OFFSET(b) = static_cast<guint64>(n);
    GstSample *s = gst_sample_new(b, nullptr, nullptr, nullptr);
    gst_buffer_unref(b);
    return s;
}

int numberOf(GstSample *s) { return static_cast<int>(GST_BUFFER_OFFSET(gst_sample_get_buffer(s))); }

// Runs a script of operations: "S<n>" offers sample n, "E" offers the end,
// "D" dequeues (writes n or "-"), "W" waits briefly (writes n, "E" or "T"),
// "F" flushes, "R" resets. Returns what D and W wrote, space-separated.
std::string run(SampleQueue &q, const std::string &script)
{
    std::istringstream ops(script);
    std::string op, out;
    auto write = [&](const std::string &s) { out += (out.empty() ? "" : " ") + s; };
    while (ops >> op) {
        GstSample *s = nullptr;
        switch (op[0]) {
        case 'S': q.offer(numbered(std::stoi(op.substr(1)))); break;
        case 'E': q.offerEnd(); break;
        case 'F': q.flush(); break;
        case 'R': q.reset(); break;
        case 'D':
            s = q.dequeue();
            write(s ? std::to_string(numberOf(s)) : "-");
            break;
        case 'W':
            switch (q.wait(1ms, &s)) {
            case SampleQueue::Next::Sample: write(std::to_string(numberOf(s))); break;
            case SampleQueue::Next::End: write("E"); break;
            case SampleQueue::Next::TimedOut: write("T"); break;
            }
            break;
        }
        if (s)
            gst_sample_unref(s);
    }
    return out;
}

TEST(SampleQueueTest, Scripts)
{
    ASSERT_TRUE(mediapipe::mediapipeInit());
    struct Case {
        const char *what;
        const char *script;
        const char *expected;
        size_t left;
    };
    const Case cases[] = {
        {"first in, first out", "S1 S2 S3 W D W", "1 2 3", 0},
        {"empty queue", "D W", "- T", 0},
        {"end marker stays for every later look", "S1 E D D D W W", "1 - - E E", 1},
        {"samples before the end are still delivered", "S1 S2 E W W W", "1 2 E", 1},
        {"flush drops what is queued and what comes later", "S1 S2 F S3 E D W", "- T", 0},
        {"reset after flush opens the queue again", "S1 F R S2 W", "2", 0},
        {"reset drops the end marker for a new run", "S1 E R S2 E W W", "2 E", 1},
    };
    for (const Case &c : cases) {
        SampleQueue q(-1);
        EXPECT_EQ(run(q, c.script), c.expected) << c.what;
        EXPECT_EQ(q.size(), c.left) << c.what;
    }
}

TEST(SampleQueueTest, FullQueueHoldsTheProducerUntilTheConsumerTakes)
{
    ASSERT_TRUE(mediapipe::mediapipeInit());
    SampleQueue q(1);
    q.offer(numbered(1));
    auto producer = std::async(std::launch::async, [&] { q.offer(numbered(2)); });
    EXPECT_EQ(producer.wait_for(100ms), std::future_status::timeout) << "a second sample waits for room";
    EXPECT_EQ(q.size(), 1u);
    EXPECT_EQ(run(q, "D"), "1");
    ASSERT_EQ(producer.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(run(q, "W"), "2");
}

TEST(SampleQueueTest, FlushReleasesABlockedProducerAndItsSample)
{
    ASSERT_TRUE(mediapipe::mediapipeInit());
    SampleQueue q(1);
    q.offer(numbered(1));
    GstSample *late = numbered(2);
    gst_sample_ref(late);
    auto producer = std::async(std::launch::async, [&] { q.offer(late); });
    EXPECT_EQ(producer.wait_for(50ms), std::future_status::timeout);
    q.flush();
    ASSERT_EQ(producer.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(q.size(), 0u);
    EXPECT_TRUE(q.closed());
    EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(late), 1) << "the dropped offer gave its reference back";
    gst_sample_unref(late);
}

}  // namespace
