#include "plugins/mediapipe/block_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using mediapipe::BlockDecoder;

TEST(BlockDecoderTest, DecodesABlockLargerThanAnyFeedBuffer)
{
    // 120 000 bytes of PCM: 30 000 stereo samples, one block.
    std::vector<int16_t> block(60000);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<int16_t>(i * 7);
    BlockDecoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.open("audio/x-raw,format=S16LE,layout=interleaved,rate=48000,channels=2", &error)) << error;
    std::vector<int16_t> out;
    ASSERT_TRUE(decoder.decode(reinterpret_cast<const uint8_t *>(block.data()), block.size() * 2, &out, &error))
        << error;
    ASSERT_TRUE(decoder.drain(&out, &error)) << error;
    EXPECT_EQ(out, block);
    EXPECT_EQ(decoder.sampleRate(), 48000);
    EXPECT_EQ(decoder.channels(), 2);
}

TEST(BlockDecoderTest, CompressedBlocksComeOutWhole)
{
    // Blocks of a mu-law file, fed as they are; the count of samples must
    // match ffmpeg's decoding of the same file.
    char pattern[] = "/tmp/block_decoder_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string folder = pattern;
    ASSERT_EQ(std::system(("cd " + folder + " && ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1:sample_rate=8000 "
                           "-c:a pcm_mulaw -f mulaw law.raw").c_str()), 0);
    std::ifstream in(folder + "/law.raw", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(folder);
    ASSERT_EQ(bytes.size(), 8000u);
    BlockDecoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.open("audio/x-mulaw,rate=8000,channels=1", &error)) << error;
    std::vector<int16_t> out;
    for (size_t at = 0; at < bytes.size(); at += 1000)
        ASSERT_TRUE(decoder.decode(reinterpret_cast<const uint8_t *>(bytes.data() + at), 1000, &out, &error)) << error;
    ASSERT_TRUE(decoder.drain(&out, &error)) << error;
    EXPECT_EQ(out.size(), 8000u);
    EXPECT_EQ(decoder.sampleRate(), 8000);
}

TEST(BlockDecoderTest, CapsNoDecoderTakesFail)
{
    BlockDecoder decoder;
    std::string error;
    std::vector<int16_t> out;
    bool ok = decoder.open("audio/x-vantorel-unknown", &error);
    uint8_t junk[64] = {};
    if (ok)
        ok = decoder.decode(junk, sizeof junk, &out, &error);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
}

}  // namespace
