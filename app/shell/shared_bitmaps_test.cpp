#include "app/common/shared_bitmaps.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::shell;
using vt::test::TempFolder;

TEST(SharedBitmapsTest, LoadsTheTwelvePicturesAndReportsMissingOnes)
{
    TempFolder tmp;
    QImage picture(4, 3, QImage::Format_RGB888);
    picture.fill(qRgb(113, 117, 121));
    SharedBitmaps probe;
    for (size_t i = 0; i < kSharedBitmapCount; ++i) {
        const std::string name = probe[static_cast<SharedBitmapId>(i)].fileName;
        if (name == "menu_unselect_on.bmp")
            continue;
        // Upper-case names are found too, as the original file system did.
        const std::string stored = name == "srt.bmp" ? "SRT.BMP" : name;
        ASSERT_TRUE(picture.save(QString::fromStdString(tmp.path() + stored), "BMP"));
    }

    SharedBitmaps bitmaps;
    const auto errors = bitmaps.load(tmp.path());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("menu_unselect_on.bmp"), std::string::npos);
    EXPECT_EQ(bitmaps[SharedBitmapId::SrtEnabledBmp].image.size(), QSize(4, 3));
    EXPECT_TRUE(bitmaps[SharedBitmapId::MenuClipUnSelectBmpOn].image.isNull());
    EXPECT_FALSE(bitmaps[SharedBitmapId::SrtDisabledBmpOn].transparentColour);
    EXPECT_EQ(bitmaps[SharedBitmapId::SetupClipSelectBmp].transparentColour, 0x797571u);

    bitmaps.free();
    EXPECT_TRUE(bitmaps[SharedBitmapId::SrtEnabledBmp].image.isNull());
}

} // namespace
