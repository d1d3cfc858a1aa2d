#include "app/project/snapshot_file.h"

#include <gtest/gtest.h>

namespace vt::project {
namespace {

TEST(SnapshotFileTest, ExtensionAppendedUnlessPresentInAnyCase)
{
    struct Case {
        const char *chosen;
        SnapshotFormat format;
        const char *expected;
    };
    const Case cases[] = {
        {"/tmp/shot", SnapshotFormat::Jpeg, "/tmp/shot.jpg"},
        {"/tmp/shot.JPG", SnapshotFormat::Jpeg, "/tmp/shot.JPG"},
        {"/tmp/shot.jpg", SnapshotFormat::Bitmap, "/tmp/shot.jpg.bmp"},
        {"/tmp/shot.Bmp", SnapshotFormat::Bitmap, "/tmp/shot.Bmp"},
        {"/tmp/a.b/shot", SnapshotFormat::Bitmap, "/tmp/a.b/shot.bmp"},
        {"/tmp/shot.jpeg", SnapshotFormat::Jpeg, "/tmp/shot.jpeg.jpg"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SnapshotFileName(c.chosen, c.format), c.expected) << c.chosen;
}

TEST(SnapshotFileTest, FilterIndexChoosesTheFormat)
{
    EXPECT_EQ(SnapshotFormatOfFilter(1), SnapshotFormat::Jpeg);
    EXPECT_EQ(SnapshotFormatOfFilter(2), SnapshotFormat::Bitmap);
    EXPECT_EQ(SnapshotFormatOfFilter(0), SnapshotFormat::Jpeg);
}

} // namespace
} // namespace vt::project
