#include "engines/resize/rs_resize.h"

#include "platform/module_loader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

class ResizeEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module_.open(std::string(VANTOREL_BIN_DIR) + "/libresize.so")) << module_.error();
        ASSERT_TRUE(module_.bind("RS_ReSize", resize_));
    }

    static int stride(int bpp, int width) { return ((width * bpp + 31) / 32) * 4; }

    // A picture whose colour depends on position: red grows left to right,
    // green top to bottom, blue constant.
    static std::vector<uint8_t> gradient(int bpp, int w, int h)
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(stride(bpp, w)) * h, 0xEE);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t *p = &pixels[static_cast<size_t>(y) * stride(bpp, w) + x * (bpp / 8)];
                p[0] = 60;
                p[1] = static_cast<uint8_t>(255 * y / (h - 1));
                p[2] = static_cast<uint8_t>(255 * x / (w - 1));
            }
        return pixels;
    }

    vt::Module module_;
    RS_ReSizeFn resize_ = nullptr;
};

TEST_F(ResizeEngineTest, FillsTheDestinationKeepingTheColours)
{
    struct Case {
        int srcBpp, srcW, srcH, dstBpp, dstW, dstH, quality;
    } cases[] = {
        {32, 64, 48, 32, 33, 21, 0},
        {32, 64, 48, 32, 160, 120, 1},
        {24, 37, 29, 24, 75, 11, 1},
        {24, 50, 50, 32, 25, 25, 0},
    };
    for (const Case &c : cases) {
        const std::vector<uint8_t> src = gradient(c.srcBpp, c.srcW, c.srcH);
        std::vector<uint8_t> dst(static_cast<size_t>(stride(c.dstBpp, c.dstW)) * c.dstH, 0);
        ASSERT_EQ(resize_(src.data(), c.srcBpp, c.srcW, c.srcH, dst.data(), c.dstBpp, c.dstW, c.dstH, c.quality), 1);

        // Every destination pixel follows the gradient at the same relative place.
        for (int y = 0; y < c.dstH; ++y)
            for (int x = 0; x < c.dstW; ++x) {
                const uint8_t *p = &dst[static_cast<size_t>(y) * stride(c.dstBpp, c.dstW) + x * (c.dstBpp / 8)];
                const double fx = (x + 0.5) / c.dstW, fy = (y + 0.5) / c.dstH;
                EXPECT_NEAR(p[0], 60, 3) << x << "," << y;
                EXPECT_NEAR(p[1], 255 * fy, 20) << x << "," << y;
                EXPECT_NEAR(p[2], 255 * fx, 20) << x << "," << y;
            }
    }
}

TEST_F(ResizeEngineTest, RefusesInvalidArguments)
{
    std::vector<uint8_t> buffer(64 * 64 * 4);
    EXPECT_EQ(resize_(nullptr, 32, 8, 8, buffer.data(), 32, 8, 8, 0), 0);
    EXPECT_EQ(resize_(buffer.data(), 16, 8, 8, buffer.data(), 32, 8, 8, 0), 0);
    EXPECT_EQ(resize_(buffer.data(), 32, 0, 8, buffer.data(), 32, 8, 8, 0), 0);
    EXPECT_EQ(resize_(buffer.data(), 32, 8, 8, buffer.data(), 32, 8, -1, 0), 0);
    EXPECT_EQ(resize_(buffer.data(), 32, 100000, 8, buffer.data(), 32, 8, 8, 0), 0);
}

} // namespace
