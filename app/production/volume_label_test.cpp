#include "app/production/volume_label.h"

#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vt::production {
namespace {

TEST(VolumeLabel, CleanedForVolumeIdAndFolderName)
{
    const std::pair<const char *, const char *> cases[] = {
        {"dvd_disc", "DVD_DISC"},
        {"  Holiday 2026 ", "HOLIDAY_2026"},
        {"../../etc", "______ETC"},
        {"a/b&c\"d", "A_B_C_D"},
        {"", "DVD_DISC"},
        {"   ", "DVD_DISC"},
        {"Ünïcode", "UNICODE"},
        {"Café crème", "CAFE_CREME"},
        {"Łódź Straße", "LODZ_STRASSE"},
        {"Ærø Œuvre", "AERO_OEUVRE"},
        {"日本の旅", "____"},
        {"\xF0\x9F\x8E\xAC film", "__FILM"},
        {"caf\xE9", "CAF_"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
    };
    for (const auto &[typed, label] : cases)
        EXPECT_EQ(CleanVolumeLabel(typed), label) << typed;
}

TEST(VolumeLabel, DefaultAndFolderSkipTakenNames)
{
    const std::string out = corvane_test::scratch_dir() + "/labels/";
    std::filesystem::create_directories(out);
    EXPECT_EQ(DefaultVolumeLabel(out), "DVD_DISC");
    EXPECT_EQ(DvdFolderPath(out, "DVD_DISC"), out + "DVD_DISC");
    std::filesystem::create_directories(out + "DVD_DISC");
    std::filesystem::create_directories(out + "DVD_DISC_1");
    EXPECT_EQ(DefaultVolumeLabel(out), "DVD_DISC_2");
    // The user typed "dvd_disc": the label stays DVD_DISC, the folder is the next free one.
    EXPECT_EQ(DvdFolderPath(out, CleanVolumeLabel("dvd_disc")), out + "DVD_DISC_2");
}

} // namespace
} // namespace vt::production
