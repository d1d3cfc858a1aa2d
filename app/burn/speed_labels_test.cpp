#include "app/burn/speed_labels.h"

#include <gtest/gtest.h>

#include <map>

namespace vt::burn {
namespace {

// A drive that accepts the speeds in `accepts` (asked -> accepted); any
// other request is answered with the last speed it accepted.
struct ScriptedDrive {
    std::map<uint32_t, uint32_t> accepts;
    uint32_t current = 0;
    std::vector<uint32_t> asked;
    uint32_t operator()(uint32_t kbps)
    {
        asked.push_back(kbps);
        auto found = accepts.find(kbps);
        if (found != accepts.end())
            current = found->second;
        return current;
    }
};

std::vector<std::string> labels(const std::vector<WriteSpeed> &speeds)
{
    std::vector<std::string> out;
    for (const WriteSpeed &speed : speeds)
        out.push_back(speed.label);
    return out;
}

TEST(SpeedLabels, AcceptedSpeedsAreLabelledByTheCloserNeighbour)
{
    const struct {
        uint32_t kbps;
        const char *label;  // nullptr: not listed
    } cases[] = {
        {5000, "4.0x"},   // 4155 and 5540 enclose it; 5540 is closer
        {4500, "3.0x"},   // 4155 is closer
        {4847, "3.0x"},   // 4155 + 692 = 4847, 5540 - 693: the lower wins a near tie
        {4848, "4.0x"},
        {5540, "4.0x"},
        {1385, "1.0x"},
        {22160, "16.0x"},
        {1000, nullptr},  // below the first entry
        {30000, nullptr}, // above the last
    };
    for (const auto &c : cases) {
        const auto label = LabelForSpeed(DvdSpeedTable(), c.kbps);
        if (c.label)
            EXPECT_EQ(label.value_or("none"), c.label) << c.kbps;
        else
            EXPECT_FALSE(label.has_value()) << c.kbps;
    }
    // An exact tie goes to the lower entry: 2770 and 3324 are 554 apart.
    EXPECT_EQ(LabelForSpeed(DvdSpeedTable(), 3047).value_or(""), "2.0x");
}

TEST(SpeedLabels, ADriveAcceptingThreeSpeedsListsExactlyThem)
{
    ScriptedDrive drive;
    drive.accepts = {{1385, 5540}, {5540, 5540}, {11080, 11080}, {16620, 16620}, {22160, 16620}};
    const auto speeds = ProbeWriteSpeeds(DvdSpeedTable(), 16620, std::ref(drive));
    EXPECT_EQ(labels(speeds), (std::vector<std::string>{"4.0x", "8.0x", "12.0x"}));
    EXPECT_EQ(drive.asked.back(), 16620u);  // stops at the maximum
}

TEST(SpeedLabels, ASpeedBetweenEntriesIsListedWithItsLabel)
{
    ScriptedDrive drive;
    drive.accepts = {{1385, 1385}, {2770, 2770}, {3324, 3324}, {4155, 4155}, {5540, 5000}};
    const auto speeds = ProbeWriteSpeeds(DvdSpeedTable(), 5540, std::ref(drive));
    ASSERT_FALSE(speeds.empty());
    EXPECT_EQ(speeds.back(), (WriteSpeed{5000, "4.0x"}));
}

TEST(SpeedLabels, ADriveThatKeepsTheSameSpeedAddsItOnce)
{
    ScriptedDrive drive;
    drive.accepts = {{1385, 2770}};
    const auto speeds = ProbeWriteSpeeds(DvdSpeedTable(), 22160, std::ref(drive));
    EXPECT_EQ(speeds, (std::vector<WriteSpeed>{{2770, "2.0x"}}));
}

TEST(SpeedLabels, TablesByDiscType)
{
    for (int type : {2, 3, 11, 12})
        EXPECT_EQ(SpeedTableFor(type), &CdSpeedTable()) << type;
    for (int type : {5, 6, 7, 8, 9, 13, 15, 16})
        EXPECT_EQ(SpeedTableFor(type), &DvdSpeedTable()) << type;
    for (int type : {0, 1, 4, 10, 14, 17, 19})
        EXPECT_EQ(SpeedTableFor(type), nullptr) << type;
}

} // namespace
} // namespace vt::burn
