#include "engines/burn/pseudo_drive_entry.h"

#include "engines/burn/starburn.h"

#include <gtest/gtest.h>

namespace starburn {
namespace {

TEST(PseudoDriveEntry, ReadsEveryKey)
{
    PseudoDriveEntry entry;
    std::string error;
    ASSERT_TRUE(ParsePseudoDriveEntry(
        "stdio:/p/a.iso,type=DVD+R,capacity=4700372992,speeds=11080/5540,rate=4000,erase=fail,write=fail,ready=fail",
        entry, error))
        << error;
    EXPECT_EQ(entry.path, "/p/a.iso");
    EXPECT_EQ(entry.discType, STARBURN_DISC_DVDPLUSR);
    EXPECT_EQ(entry.capacity, 4700372992ull);
    EXPECT_EQ(entry.speeds, (std::vector<uint32_t>{5540, 11080}));  // sorted
    EXPECT_EQ(entry.rate, 4000u);
    EXPECT_TRUE(entry.eraseFails);
    EXPECT_TRUE(entry.writeFails);
    EXPECT_TRUE(entry.readyFails);
}

TEST(PseudoDriveEntry, DefaultsToABlankDvdPlusRwOfDvd5Size)
{
    PseudoDriveEntry entry;
    std::string error;
    ASSERT_TRUE(ParsePseudoDriveEntry("stdio:/x.iso", entry, error));
    EXPECT_EQ(entry.discType, STARBURN_DISC_DVDPLUSRW);
    EXPECT_EQ(entry.capacity, kDvd5Bytes);
    EXPECT_EQ(entry.rate, 0u);
    EXPECT_FALSE(entry.eraseFails);
}

TEST(PseudoDriveEntry, RefusesBadEntriesWithAReason)
{
    const char *bad[] = {"/x.iso", "stdio:", "stdio:/x,type=floppy", "stdio:/x,capacity=big",
                         "stdio:/x,speeds=1/x", "stdio:/x,erase=maybe", "stdio:/x,colour=red"};
    for (const char *text : bad) {
        PseudoDriveEntry entry;
        std::string error;
        EXPECT_FALSE(ParsePseudoDriveEntry(text, entry, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(PseudoDriveEntry, ListKeepsGoodEntriesAndReportsBadOnes)
{
    std::vector<std::string> errors;
    const auto entries = ParsePseudoDriveList("stdio:/a.iso;;stdio:/b.iso,type=none; stdio:/c.iso,type=DVD-R", errors);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, "/a.iso");
    EXPECT_EQ(entries[1].discType, STARBURN_DISC_DVDR);
    EXPECT_EQ(errors.size(), 1u);
}

TEST(DiscTypes, MediaProfilesMapToDiscTypeCodes)
{
    const struct {
        int profile;
        int32_t type;
    } cases[] = {
        {0x00, STARBURN_DISC_EMPTY},    {0x08, STARBURN_DISC_CDROM},       {0x09, STARBURN_DISC_CDR},
        {0x0a, STARBURN_DISC_CDRW},     {0x10, STARBURN_DISC_DVDROM},      {0x11, STARBURN_DISC_DVDR},
        {0x12, STARBURN_DISC_DVDRAM},   {0x13, STARBURN_DISC_DVDRW_OVERWRITE}, {0x14, STARBURN_DISC_DVDRW_SEQUENTIAL},
        {0x15, STARBURN_DISC_DVDR_DL},  {0x1a, STARBURN_DISC_DVDPLUSRW},   {0x1b, STARBURN_DISC_DVDPLUSR},
        {0x2b, STARBURN_DISC_DVDPLUSR_DL}, {0x41, STARBURN_DISC_BDR},      {0x43, STARBURN_DISC_BDRE},
        {0xffff, STARBURN_DISC_UNKNOWN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DiscTypeFromProfile(c.profile), c.type) << std::hex << c.profile;
}

TEST(DiscTypes, NamesAreReadWithoutRegardToCase)
{
    EXPECT_EQ(DiscTypeFromName("dvd+rw"), STARBURN_DISC_DVDPLUSRW);
    EXPECT_EQ(DiscTypeFromName("DVD+R_DL"), STARBURN_DISC_DVDPLUSR_DL);
    EXPECT_EQ(DiscTypeFromName("CD-R"), STARBURN_DISC_CDR);
    EXPECT_EQ(DiscTypeFromName("DVD"), -1);
    EXPECT_TRUE(IsRewritableDisc(STARBURN_DISC_DVDPLUSRW));
    EXPECT_FALSE(IsRewritableDisc(STARBURN_DISC_DVDR));
}

} // namespace
} // namespace starburn
