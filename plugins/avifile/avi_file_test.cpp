#include "plugins/avifile/avi_file.h"
#include "plugins/avifile/avi_test_builder.h"
#include "plugins/avifile/codec_lookup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

using avifile::AviFile;

class AviFileTest : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path_.c_str()); }
    // Writes bytes to a scratch file and opens it.
    bool openBytes(const std::string &bytes)
    {
        std::ofstream(path_, std::ios::binary) << bytes;
        return file.open(path_, &error);
    }
    AviFile file;
    std::string error;

private:
    std::string path_ = "/tmp/wyv_avifile_reader_" + std::to_string(getpid()) + ".avi";
};

TEST_F(AviFileTest, ReadsHeadersAndIndexedChunks)
{
    avitest::AviSpec spec;
    spec.soundFormat = avitest::pcmFormat(1, 8000, 16);
    spec.soundSampleSize = 2;
    spec.soundChunks = {std::string(320, '\1'), std::string(160, '\2')};
    ASSERT_TRUE(openBytes(avitest::buildAvi(spec))) << error;
    ASSERT_EQ(file.streams().size(), 2u);
    const avifile::AviStream &video = file.streams()[0];
    EXPECT_EQ(video.type, avifile::fourcc("vids"));
    EXPECT_EQ(video.rate, 25u);
    EXPECT_EQ(video.frameWidth, 4);
    EXPECT_EQ(video.frameHeight, 4);
    ASSERT_EQ(video.chunks.size(), 3u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(file.read(video.chunks[2], 0, &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), avitest::rawFrame(spec, 2));
    EXPECT_TRUE(video.chunks[2].keyFrame);
    const avifile::AviStream &sound = file.streams()[1];
    EXPECT_EQ(sound.length, 240u);
    ASSERT_EQ(sound.chunks.size(), 2u);
    ASSERT_TRUE(file.read(sound.chunks[1], 100, &bytes));
    EXPECT_EQ(bytes.size(), 60u);
}

TEST_F(AviFileTest, ACutFileKeepsItsCompleteChunks)
{
    avitest::AviSpec spec;
    spec.frames = 10;
    std::string whole = avitest::buildAvi(spec);
    size_t idx1 = whole.rfind("idx1");
    // Cut inside the eighth frame: the index is gone, so the chunks are
    // found by walking 'movi', and the cut chunk is left out.
    size_t frameBytes = 8 + 4 * 4 * 3;
    ASSERT_TRUE(openBytes(whole.substr(0, idx1 - 2 * frameBytes - 10))) << error;
    EXPECT_EQ(file.streams()[0].chunks.size(), 7u);
    EXPECT_EQ(file.streams()[0].length, 10u);
    EXPECT_TRUE(file.streams()[0].chunks[0].keyFrame);
}

TEST_F(AviFileTest, AnAvixPartAddsItsChunks)
{
    avitest::AviSpec spec;
    std::string file = avitest::buildAvi(spec);
    avitest::Bytes movi, part;
    movi.chunk("00db", avitest::rawFrame(spec, 3));
    movi.chunk("00db", avitest::rawFrame(spec, 4));
    part.list("movi", movi.b);
    avitest::Bytes avix;
    avix.list("AVIX", part.b, "RIFF");
    ASSERT_TRUE(openBytes(file + avix.b)) << error;
    const auto &chunks = this->file.streams()[0].chunks;
    ASSERT_EQ(chunks.size(), 5u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(this->file.read(chunks[4], 0, &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), avitest::rawFrame(spec, 4));
}

TEST_F(AviFileTest, SizesPastTheirParentOrTheFileAreRefusedWithoutAllocating)
{
    avitest::AviSpec badFormat;
    badFormat.strfSizeOverride = 0x7FFFFFF0;
    EXPECT_FALSE(openBytes(avitest::buildAvi(badFormat)));
    EXPECT_FALSE(error.empty());

    // An index entry that claims more than the file holds opens, but its
    // chunk cannot be read.
    avitest::AviSpec badIndex;
    badIndex.idx1SizeOfFirstFrame = 0x7FFFFFF0;
    ASSERT_TRUE(openBytes(avitest::buildAvi(badIndex))) << error;
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(file.read(file.streams()[0].chunks[0], 0, &bytes));
    EXPECT_TRUE(file.read(file.streams()[0].chunks[1], 0, &bytes));

    using namespace std::string_literals;
    for (const std::string &junk : {""s, "RIFF\x04\0\0\0AVI "s, "RIFF\xff\xff\xff\xff" "AVI LIST\xff\xff\xff\x7fhdrl"s})
        EXPECT_FALSE(openBytes(junk)) << junk.size() << " bytes";
}

TEST(WaveFormatTest, ShortPcmFormatsGetTheirBitsFromTheBlockAlignment)
{
    struct Case {
        int channels, bits;
        size_t size;
        uint16_t expectedBits;
    };
    const Case cases[] = {
        {2, 16, 14, 16},  // WAVEFORMAT: block 4 bytes over 2 channels
        {1, 8, 14, 8},
        {6, 24, 14, 24},
        {2, 16, 16, 16},  // PCMWAVEFORMAT keeps its own
    };
    for (const Case &c : cases) {
        std::string f = avitest::pcmFormat(c.channels, 48000, c.bits, c.size);
        auto completed = avifile::waveFormatCompleted(std::vector<uint8_t>(f.begin(), f.end()));
        ASSERT_EQ(completed.size(), 18u);
        avifile::WaveFormat w = avifile::waveFormatOf(completed);
        EXPECT_EQ(w.bitsPerSample, c.expectedBits) << c.channels << " channels, " << c.size << " bytes";
        EXPECT_EQ(w.extraSize, 0);
        EXPECT_NE(avifile::soundCodecOf(completed), AV_CODEC_ID_NONE);
    }
}

}  // namespace
