#include "app/common/letterbox_stretch.h"

#include <gtest/gtest.h>

namespace {

using vt::common::LetterboxRect;
using vt::common::LetterboxStretch;

TEST(LetterboxStretchTest, PictureRectangleKeepsTheSourceShape)
{
    struct Case {
        int w, h, sw, sh;
        QRect expected;
    } cases[] = {
        // 720 × 480 into 80 × 60: 80 wide, trunc(80 / 1.5) = 53 made even 52, top 4.
        {80, 60, 720, 480, QRect(0, 4, 80, 52)},
        // A narrow source in a wide box: full height, trunc(60 × 0.75) = 45 made even 44.
        {80, 60, 480, 640, QRect(18, 0, 44, 60)},
        {720, 576, 720, 576, QRect(0, 0, 720, 576)},
        {160, 90, 720, 480, QRect(13, 0, 134, 90)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LetterboxRect(c.w, c.h, c.sw, c.sh), c.expected) << c.w << "x" << c.h << " from " << c.sw << "x" << c.sh;
}

TEST(LetterboxStretchTest, LetterboxFillsBlackBarsAroundThePicture)
{
    QImage source(720, 480, QImage::Format_RGB32);
    source.fill(qRgb(200, 40, 10));
    QImage dest;
    ASSERT_TRUE(LetterboxStretch(dest, source, 80, 60, true));
    ASSERT_EQ(dest.size(), QSize(80, 60));
    EXPECT_EQ(dest.format(), QImage::Format_RGB32);
    for (int x : {0, 40, 79}) {
        EXPECT_EQ(dest.pixel(x, 3), qRgb(0, 0, 0));
        EXPECT_EQ(dest.pixel(x, 4), qRgb(200, 40, 10));
        EXPECT_EQ(dest.pixel(x, 55), qRgb(200, 40, 10));
        EXPECT_EQ(dest.pixel(x, 56), qRgb(0, 0, 0));
    }
}

TEST(LetterboxStretchTest, StretchRepeatsPixelsWithoutBlending)
{
    // Two columns, red and blue, stretched to eight: no purple in between.
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    QImage dest(4, 4, QImage::Format_RGB888);
    ASSERT_TRUE(LetterboxStretch(dest, source, 8, 3, false));
    EXPECT_EQ(dest.size(), QSize(8, 3));
    EXPECT_EQ(dest.format(), QImage::Format_RGB888);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dest.pixel(x, 1), x < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << x;
}

TEST(LetterboxStretchTest, RefusesEmptySizesAndToleratesEmptySources)
{
    QImage dest;
    EXPECT_FALSE(LetterboxStretch(dest, QImage(4, 4, QImage::Format_RGB32), 0, 10, true));
    EXPECT_FALSE(LetterboxStretch(dest, QImage(4, 4, QImage::Format_RGB32), 10, -1, false));
    ASSERT_TRUE(LetterboxStretch(dest, QImage(), 10, 10, true));
    EXPECT_EQ(dest.pixel(5, 5), qRgb(0, 0, 0));
}

} // namespace
