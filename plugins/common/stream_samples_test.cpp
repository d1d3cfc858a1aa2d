#include "plugins/common/stream_samples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using plugins::MediaTime;

class StreamSamples : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(zif_create(&ctx), 0); }
    void TearDown() override { zif_destroy(ctx); }
    zif_context *ctx = nullptr;
};

TEST(MediaTimeTest, SumsStayExact)
{
    // 25 frames of 1/25 s are exactly one second; 1001/30000 steps stay in lowest terms.
    MediaTime t = MediaTime::of(0, 1);
    for (int i = 0; i < 25; ++i)
        t = t + MediaTime::of(1, 25);
    EXPECT_EQ(t.num, 1);
    EXPECT_EQ(t.den, 1);
    MediaTime ntsc = MediaTime::of(2002, 60000) + MediaTime::of(1001, 30000);
    EXPECT_EQ(ntsc.num, 1001);
    EXPECT_EQ(ntsc.den, 15000);
    EXPECT_EQ(MediaTime::of(3, -6).num, -1);
    EXPECT_EQ(MediaTime::of(3, -6).den, 2);
}

TEST_F(StreamSamples, ChannelIdsFollowTheDocumentedOrder)
{
    struct Case {
        int channels;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {1, {"center"}},
        {2, {"left", "right"}},
        {6, {"left", "center", "right", "leftsurround", "rightsurround", "lowfreq"}},
        {0, {}},
        {5, {}},
        {8, {}},
    };
    for (const Case &c : cases) {
        zif_object *ids = plugins::channelIdsFor(ctx, c.channels);
        std::vector<std::string> got;
        for (zif_list_link *at = zif_listBegin(ids); ids && at != zif_listEnd(ids);) {
            zif_object *s = zif_listNext(ids, &at);
            got.push_back(zif_stringGetValue(s));
            zif_release(s);
        }
        EXPECT_EQ(got, c.ids) << c.channels << " channels";
        EXPECT_EQ(ids == nullptr, c.ids.empty());
        zif_release(ids);
    }
}

TEST_F(StreamSamples, EndOfStreamIsAMarkedCloneOfTheDescription)
{
    zif_object *d = zif_newTable(ctx);
    zif_tableSetString(d, "mediatype", "audio");
    zif_object *q = zif_newList(ctx);
    ASSERT_TRUE(plugins::queueEndOfStream(q, d));
    zif_object *end = zif_listRemoveFirst(q);
    ASSERT_NE(end, nullptr);
    EXPECT_NE(end, d);
    EXPECT_EQ(zif_tableGetInt(end, "endofstream", 0), 1);
    EXPECT_STREQ(zif_tableGetString(end, "mediatype", ""), "audio");
    EXPECT_FALSE(zif_tableContains(d, "endofstream"));
    for (zif_object *o : {end, q, d})
        zif_release(o);
}

}  // namespace
