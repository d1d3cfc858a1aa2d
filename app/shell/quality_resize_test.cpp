#include "app/shell/quality_resize.h"

#include "platform/paths.h"
#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using vt::shell::QualityResize;

class QualityResizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = vt::ExePath();
        vt::SetExePath(VANTOREL_BIN_DIR);
    }
    void TearDown() override { vt::SetExePath(saved_); }
    std::string saved_;
};

TEST_F(QualityResizeTest, ResamplesIntoTheRequestedSizeAndFormat)
{
    QImage source(64, 48, QImage::Format_RGB888);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            source.setPixel(x, y, x < 32 ? qRgb(250, 10, 10) : qRgb(10, 10, 250));

    for (bool quality : {false, true}) {
        QImage dest(1, 1, QImage::Format_RGB888);
        std::string error;
        ASSERT_TRUE(QualityResize(dest, source, 32, 24, quality, &error)) << error;
        EXPECT_EQ(dest.size(), QSize(32, 24));
        EXPECT_EQ(dest.format(), QImage::Format_RGB888);
        EXPECT_EQ(vt::shell::BitsPerPixel(dest), 24);
        EXPECT_NEAR(qRed(dest.pixel(4, 12)), 250, 4);
        EXPECT_NEAR(qBlue(dest.pixel(28, 12)), 250, 4);
        EXPECT_NEAR(qBlue(dest.pixel(4, 12)), 10, 4);
    }
    EXPECT_EQ(source.format(), QImage::Format_RGB888);
    QImage created;
    ASSERT_TRUE(QualityResize(created, source, 10, 10, true));
    EXPECT_EQ(vt::shell::BitsPerPixel(created), 32);
}

TEST_F(QualityResizeTest, ReportsMissingLibraryAndBadSizes)
{
    QImage source(8, 8, QImage::Format_RGB32);
    source.fill(Qt::white);
    QImage dest;
    std::string error;
    EXPECT_FALSE(QualityResize(dest, source, 0, 8, false, &error));
    EXPECT_NE(error.find("size"), std::string::npos);

    vt::test::TempFolder empty;
    vt::SetExePath(empty.path());
    EXPECT_FALSE(QualityResize(dest, source, 4, 4, false, &error));
    EXPECT_NE(error.find("resampler"), std::string::npos) << error;
}

} // namespace
