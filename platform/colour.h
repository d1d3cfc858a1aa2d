// Colour values as the program stores them: 0x00BBGGRR (red in the low
// byte), and their red/green/blue parts.
#pragma once

#include <cstdint>

namespace vt {

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

constexpr Rgb rgbFromColourValue(uint32_t value)
{
    return Rgb {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF),
                static_cast<uint8_t>((value >> 16) & 0xFF)};
}

constexpr uint32_t colourValueFromRgb(Rgb rgb)
{
    return static_cast<uint32_t>(rgb.red) | (static_cast<uint32_t>(rgb.green) << 8)
        | (static_cast<uint32_t>(rgb.blue) << 16);
}

// 0xRRGGBB, as Qt's QRgb and most drawing code want it (no alpha).
constexpr uint32_t rrggbbFromColourValue(uint32_t value)
{
    const Rgb c = rgbFromColourValue(value);
    return (static_cast<uint32_t>(c.red) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.blue;
}

constexpr uint32_t colourValueFromRrggbb(uint32_t rgb)
{
    return colourValueFromRgb(Rgb {static_cast<uint8_t>((rgb >> 16) & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                                   static_cast<uint8_t>(rgb & 0xFF)});
}

} // namespace vt
