#include "engines/burn/iso_volume.h"

#include <cstring>
#include <gtest/gtest.h>

namespace starburn {
namespace {

TEST(IsoVolume, ReadsLabelAndSizeOfAPrimaryDescriptor)
{
    unsigned char block[2048] = {};
    block[0] = 1;
    std::memcpy(block + 1, "CD001", 5);
    std::memset(block + 40, ' ', 32);
    std::memcpy(block + 40, "HOLIDAY", 7);
    block[80] = 0x2e;  // 558 blocks, little-endian
    block[81] = 0x02;
    const IsoVolume volume = ParseIsoVolume(block, sizeof block);
    EXPECT_TRUE(volume.present);
    EXPECT_EQ(volume.label, "HOLIDAY");
    EXPECT_EQ(volume.bytes, 558u * 2048);
}

TEST(IsoVolume, NothingWithoutTheStandardIdentifierOrOnAShortRead)
{
    unsigned char block[2048] = {};
    EXPECT_FALSE(ParseIsoVolume(block, sizeof block).present);
    std::memcpy(block + 1, "CD001", 5);
    EXPECT_FALSE(ParseIsoVolume(block, 100).present);
    EXPECT_FALSE(ReadIsoVolume("/nonexistent/image.iso").present);
}

} // namespace
} // namespace starburn
