#include "app/production/menu_mapping.h"

#include <cmath>

namespace vt::production {

int64_t TruncatedProduct(int64_t value, double factor)
{
    // factor = mantissa × 2^exponent with a 53-bit integer mantissa: the
    // product of two integers is exact in 128 bits, and the shift truncates.
    int exponent = 0;
    const double fraction = std::frexp(factor, &exponent);
    const int64_t mantissa = static_cast<int64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    __int128 product = static_cast<__int128>(value) * mantissa;
    const bool negative = product < 0;
    if (negative)
        product = -product;
    if (exponent >= 0)
        product <<= exponent;
    else
        product = exponent <= -127 ? 0 : product >> -exponent;
    return static_cast<int64_t>(negative ? -product : product);
}

DesignMapping::DesignMapping(int frameHeight, int designHeight)
    : frameHeight_(frameHeight)
    , vertical_(static_cast<double>(frameHeight) / designHeight)
{
}

FramePoint DesignMapping::MapDesignPoint(int x, int y) const
{
    return {static_cast<int>(TruncatedProduct(x, kDesignToFrame)),
            static_cast<int>(TruncatedProduct(TruncatedProduct(y, kDesignToFrame), vertical_))};
}

EdgeRect DesignMapping::MapTextRect(const EdgeRect &c) const
{
    const FramePoint topLeft = MapDesignPoint(c.left, c.top);
    const FramePoint bottomRight = MapDesignPoint(c.right, c.bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

EdgeRect DesignMapping::MapButtonRect(const EdgeRect &c) const
{
    return MapTextRect({c.left + 8, c.top + 8, c.right - 8, c.bottom - 8});
}

int DesignMapping::squarePixelLines(int frameLines) const
{
    return static_cast<int>(std::lround(frameLines / vertical_));
}

int MenuFontSize(int designPoints)
{
    return static_cast<int>(TruncatedProduct(designPoints, kFontScale));
}

} // namespace vt::production
