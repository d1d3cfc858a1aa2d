#include "app/menu/page_layout.h"

#include "app/menu/button_rules.h"

#include <algorithm>
#include <cmath>

namespace vt::menu {

namespace {

constexpr int kColumnGap = 16;
constexpr int kRowGap = 10;
constexpr int kHeadingGap = 8;     // between the heading and the first row
constexpr int kCaptionGap = 2;     // between a button and its caption
constexpr int kBackButtonGap = 6;  // between the last row and the back button
constexpr int kLargestButtonWidth = 200;

double pictureAspect(PictureShape shape)
{
    return shape == PictureShape::Wide ? 16.0 / 9.0 : 4.0 / 3.0;
}

int heightForWidth(int width, double aspect)
{
    return static_cast<int>(std::lround((width - 2 * kButtonBorder) / aspect)) + 2 * kButtonBorder;
}

int widthForHeight(int height, double aspect)
{
    return static_cast<int>(std::floor((height - 2 * kButtonBorder) * aspect)) + 2 * kButtonBorder;
}

// The largest button of the page's shape that fits a grid in the area.
QSize fittingButton(int columns, int rows, QSize area, int captionBand, double aspect)
{
    const int byWidth = (area.width() - (columns - 1) * kColumnGap) / columns;
    const int cellHeight = (area.height() - (rows - 1) * kRowGap) / rows - captionBand;
    int width = std::min({byWidth, widthForHeight(cellHeight, aspect), kLargestButtonWidth});
    int height = heightForWidth(width, aspect);
    if (height > kMaxButtonHeight) {
        height = kMaxButtonHeight;
        width = widthForHeight(height, aspect);
    }
    return {width, height};
}

// Wide pictures may make a button lower than a drag would make it; only
// its width has a floor.
bool usable(QSize button)
{
    return button.width() >= kMinButtonWidth;
}

} // namespace

QRect PageLayout::captionUnder(int k, int captionHeight) const
{
    const QPoint at = buttons.at(static_cast<size_t>(k));
    return {at.x(), at.y() + buttonSize.height() + kCaptionGap, buttonSize.width(), captionHeight};
}

int LayoutColumns(int buttons)
{
    if (buttons <= 3)
        return std::max(buttons, 1);
    if (buttons == 4)
        return 2;
    if (buttons <= 6 || buttons == 9)
        return 3;
    return std::max(4, static_cast<int>(std::ceil(std::sqrt(buttons * 4.0 / 3.0))));
}

PageLayout LayOutPage(const PageLayoutRequest &request, const MenuPanel &panel)
{
    PageLayout layout;
    if (request.buttons <= 0)
        return layout;
    const QRect safe = panel.safeFrame().isNull() ? QRect(QPoint(0, 0), panel.size()) : panel.safeFrame();
    const int columns = LayoutColumns(request.buttons);
    const int rows = (request.buttons + columns - 1) / columns;
    const double aspect = pictureAspect(panel.shape);

    // The heading, then the captions, then the band of the back button give
    // way when the grid would need narrower than the narrowest buttons.
    struct Variant {
        bool heading, captions, backBand;
    };
    const int backBand = request.backButton.isEmpty() ? 0 : request.backButton.height() + kBackButtonGap;
    QRect area;
    QSize button;
    bool withHeading = false;
    int captionBand = 0;
    for (const Variant variant : {Variant{true, true, true}, Variant{false, true, true}, Variant{false, false, true},
                                  Variant{false, false, false}}) {
        withHeading = variant.heading && request.headingHeight > 0;
        captionBand = variant.captions && request.captionHeight > 0 ? request.captionHeight + kCaptionGap : 0;
        const int top = safe.top() + (withHeading ? request.headingHeight + kHeadingGap : 0);
        const int bottom = safe.top() + safe.height() - (variant.backBand ? backBand : 0);
        area = QRect(safe.left(), top, safe.width(), bottom - top);
        button = fittingButton(columns, rows, area.size(), captionBand, aspect);
        if (usable(button))
            break;
    }
    if (!usable(button))
        button = QSize(kMinButtonWidth, heightForWidth(kMinButtonWidth, aspect));

    layout.buttonSize = button;
    layout.captions = captionBand > 0;
    if (withHeading)
        layout.heading = QRect(safe.left(), safe.top(), safe.width(), request.headingHeight);
    const int cellHeight = button.height() + captionBand;
    const int gridHeight = rows * cellHeight + (rows - 1) * kRowGap;
    const int gridTop = area.top() + std::max(0, (area.height() - gridHeight) / 2);
    for (int k = 0; k < request.buttons; ++k) {
        const int row = k / columns;
        const int inRow = std::min(columns, request.buttons - row * columns);
        const int rowWidth = inRow * button.width() + (inRow - 1) * kColumnGap;
        const int left = safe.left() + (safe.width() - rowWidth) / 2 + (k % columns) * (button.width() + kColumnGap);
        const int top = gridTop + row * (cellHeight + kRowGap);
        layout.buttons.push_back(panel.clamp({left, top}, button));
    }
    return layout;
}

} // namespace vt::menu
