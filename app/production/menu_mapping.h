// Design-page pixels of the menu editor to pixels of the 720-wide DVD frame.
//
// Every product of an integer and a factor is formed exactly (no rounding
// before the truncation), so that a factor stored just below its decimal
// value, like 1.39, gives the same results as on the editor: 100 × 1.39 is
// 138, not 139.
#pragma once

#include <cstdint>

namespace vt::production {

// The editor's page to the 720-pixel frame width.
inline constexpr double kDesignToFrame = 1.39;
// Label font sizes on the frame: 10 points become 13, 15 become 20.
inline constexpr double kFontScale = 1.4;

// A rectangle of integer edges, right and bottom excluded as on the editor's
// page (right = left + width).
struct EdgeRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const EdgeRect &) const = default;
};

struct FramePoint {
    int x = 0, y = 0;
    bool operator==(const FramePoint &) const = default;
};

// trunc(value × factor) with the product formed exactly.
int64_t TruncatedProduct(int64_t value, double factor);

// The scales of one run: frame lines over design lines (576/540, 480/540,
// 576/404 or 480/404).
class DesignMapping {
public:
    DesignMapping(int frameHeight, int designHeight);

    FramePoint MapDesignPoint(int x, int y) const;
    EdgeRect MapTextRect(const EdgeRect &control) const;
    // The control's picture area: its bounds less the 8-pixel frame border.
    EdgeRect MapButtonRect(const EdgeRect &control) const;
    int frameHeight() const { return frameHeight_; }
    // Frame lines as lines of the square-pixel picture: the height a frame
    // rectangle has on screen.
    int squarePixelLines(int frameLines) const;

private:
    int frameHeight_;
    double vertical_;
};

// A label's point size on the frame.
int MenuFontSize(int designPoints);

} // namespace vt::production
