#include "plugins/ffmpeg/audio_format.h"

#include <gtest/gtest.h>

namespace {

using ffplug::AudioFormat;

class AudioFormatTest : public ::testing::Test {
protected:
    void SetUp() override { zif_create(&ctx); }
    void TearDown() override { zif_destroy(ctx); }

    zif_object *ints(std::initializer_list<int64_t> values)
    {
        zif_object *list = zif_newList(ctx);
        for (int64_t v : values) {
            zif_object *n = zif_newInt(ctx, v);
            zif_listAdd(list, n);
            zif_release(n);
        }
        return list;
    }
    zif_object *strings(std::initializer_list<const char *> values)
    {
        zif_object *list = zif_newList(ctx);
        for (const char *v : values) {
            zif_object *s = zif_newString(ctx, v);
            zif_listAdd(list, s);
            zif_release(s);
        }
        return list;
    }
    AudioFormat stereo48k()
    {
        AudioFormat f;
        f.rate = 48000, f.channels = 2, f.bits = 16, f.isSigned = 1, f.ids = {"left", "right"};
        return f;
    }

    zif_context *ctx = nullptr;
};

TEST_F(AudioFormatTest, PickTakesTheSmallestNotBelowElseTheLargestBelow)
{
    struct Case {
        std::initializer_list<int64_t> values;
        int64_t wanted, picked;
    } cases[] = {
        {{44100, 48000}, 48000, 48000}, {{22050, 44100}, 48000, 44100}, {{96000, 44100, 48000}, 45000, 48000},
        {{8000}, 48000, 8000},          {{}, 48000, -1},
    };
    for (const Case &c : cases) {
        zif_object *list = ints(c.values);
        EXPECT_EQ(ffplug::audioPick(list, c.wanted), c.picked) << c.wanted;
        zif_release(list);
    }
    zif_object *single = zif_newInt(ctx, 11025);
    EXPECT_EQ(ffplug::audioPick(single, 48000), 11025);
    EXPECT_EQ(ffplug::audioPick(nullptr, 48000), -1);
    zif_release(single);
}

TEST_F(AudioFormatTest, OutputChoiceFillsWhatTheTargetLeavesOpen)
{
    zif_object *target = zif_newTable(ctx);
    zif_object *rates = ints({22050, 44100});
    zif_tableSet(target, "samplerate", rates);
    zif_tableSetInt(target, "channels", 1);
    AudioFormat out;
    ASSERT_TRUE(ffplug::audioChooseOutput(target, target, stereo48k(), &out));
    EXPECT_EQ(out.rate, 44100);
    EXPECT_EQ(out.channels, 1);
    // No sample width named: bits and signedness stay the input's.
    EXPECT_EQ(out.bits, 16);
    EXPECT_EQ(out.isSigned, 1);
    EXPECT_EQ(out.ids, std::vector<std::string>{"center"});
    for (zif_object *o : {target, rates})
        zif_release(o);
}

TEST_F(AudioFormatTest, OutputChoicePrefersEnoughChannelsThenTheClosestRate)
{
    // Alternatives: mono 48k, stereo 44.1k, stereo 48k, 6 channels 48k.
    zif_object *list = zif_newList(ctx);
    for (auto [channels, rate] : {std::pair{1, 48000}, {2, 44100}, {2, 48000}, {6, 48000}}) {
        zif_object *t = zif_newTable(ctx);
        zif_tableSetInt(t, "channels", channels);
        zif_tableSetInt(t, "samplerate", rate);
        zif_listAdd(list, t);
        zif_release(t);
    }
    AudioFormat out;
    ASSERT_TRUE(ffplug::audioChooseOutput(list, list, stereo48k(), &out));
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.rate, 48000);
    EXPECT_EQ(out.ids, (std::vector<std::string>{"left", "right"}));
    zif_release(list);
}

TEST_F(AudioFormatTest, OutputChoiceErrors)
{
    AudioFormat out;
    zif_object *empty = zif_newList(ctx);
    EXPECT_FALSE(ffplug::audioChooseOutput(empty, empty, stereo48k(), &out));
    EXPECT_EQ(zif_getLastError(ctx), 14);
    // Three channels have no documented order.
    zif_object *three = zif_newTable(ctx);
    zif_tableSetInt(three, "channels", 3);
    EXPECT_FALSE(ffplug::audioChooseOutput(three, three, stereo48k(), &out));
    EXPECT_EQ(zif_getLastError(ctx), 14);
    zif_object *badIds = zif_newTable(ctx);
    zif_object *ids = ints({1, 2});
    zif_tableSet(badIds, "channelids", ids);
    EXPECT_FALSE(ffplug::audioChooseOutput(badIds, badIds, stereo48k(), &out));
    EXPECT_EQ(zif_getLastError(ctx), 22);
    for (zif_object *o : {empty, three, badIds, ids})
        zif_release(o);
}

TEST_F(AudioFormatTest, RatePairStaysWithinTheLimits)
{
    auto exact = ffplug::audioRatePair(44100, 48000);
    EXPECT_EQ(exact.out, 44100);
    EXPECT_EQ(exact.in, 48000);
    // A ratio integers near the rates cannot express closely enough is refined.
    auto refined = ffplug::audioRatePair(44100.4, 1.3);
    EXPECT_LT(refined.out, 16777216);
    EXPECT_LT(refined.in, 16777216);
    EXPECT_GT(refined.in, 1);
}

TEST_F(AudioFormatTest, ChannelSourcesByName)
{
    using Sources = std::vector<std::vector<ffplug::ChannelSource>>;
    auto inputs = [](const Sources &s, size_t o) {
        std::vector<int> v;
        for (const auto &c : s[o])
            v.push_back(c.input);
        return v;
    };
    Sources mono = ffplug::audioChannelSources({"center"}, {"left", "right"});
    EXPECT_EQ(inputs(mono, 0), std::vector<int>{0});
    EXPECT_EQ(inputs(mono, 1), std::vector<int>{0});
    Sources center = ffplug::audioChannelSources({"left", "right"}, {"center"});
    ASSERT_EQ(center[0].size(), 2u);
    EXPECT_EQ(center[0][0].gain + center[0][1].gain, 16384);  // the average
    // 5.1 to stereo: every input channel reaches at least one output.
    Sources down = ffplug::audioChannelSources(
        {"left", "center", "right", "leftsurround", "rightsurround", "lowfreq"}, {"left", "right"});
    std::vector<bool> heard(6, false);
    for (size_t o = 0; o < 2; ++o)
        for (int i : inputs(down, o))
            heard[static_cast<size_t>(i)] = true;
    EXPECT_EQ(heard, std::vector<bool>(6, true));
    Sources silent = ffplug::audioChannelSources({"left"}, {"leftsurround"});
    EXPECT_TRUE(silent[0].empty());
}

TEST_F(AudioFormatTest, SampleWidthsToAndFromSigned16)
{
    struct Case {
        std::vector<uint8_t> bytes;
        int bits;
        bool isSigned;
        int16_t value;
    } cases[] = {
        {{0x80}, 8, false, 0},
        {{0xFF}, 8, false, 0x7F00},
        {{0x00}, 8, false, -32768},
        {{0xFF}, 8, true, -256},
        {{0x34, 0x12}, 16, true, 0x1234},
        {{0x00, 0x80}, 16, false, 0},
        {{0x99, 0x34, 0x12}, 24, true, 0x1234},
        {{0x99, 0x88, 0x34, 0x12}, 32, true, 0x1234},
    };
    for (const Case &c : cases) {
        std::vector<int16_t> values;
        ASSERT_TRUE(ffplug::pcmToS16(c.bytes.data(), static_cast<int64_t>(c.bytes.size()), c.bits, c.isSigned, &values));
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0], c.value) << c.bits << " " << c.isSigned;
        std::vector<uint8_t> back;
        ASSERT_TRUE(ffplug::pcmFromS16(values.data(), 1, c.bits, c.isSigned, &back));
        ASSERT_EQ(back.size(), c.bytes.size());
        EXPECT_EQ(back.back(), c.bytes.back());
        if (c.bits > 8) {
            EXPECT_EQ(back[back.size() - 2], c.bytes[c.bytes.size() - 2]);
        }
    }
    std::vector<int16_t> values;
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ffplug::pcmToS16(nullptr, 0, 12, true, &values));
    EXPECT_FALSE(ffplug::pcmFromS16(nullptr, 0, 20, true, &bytes));
}

}  // namespace
