#include "app/production/menu_compositor.h"

#include "app/common/letterbox_stretch.h"
#include "app/production/menu_control_file.h"
#include "app/production/menu_files.h"
#include "app/production/xml_text.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vt::production {
namespace {

// A shape on a key-coloured square: its top-left pixel is the key.
QImage shape(int w, int h, QRgb key, QRgb ink)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(key);
    for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x)
            image.setPixel(x, y, ink);
    return image;
}

MenuResources resources()
{
    MenuResources r;
    r.backBmp = shape(40, 20, 0xFF203040, 0xFFE0E0E0);
    r.backPng = shape(40, 20, 0xFF000000, 0xFFFFFFFF);
    r.mouseOn = shape(9, 9, 0xFF000000, 0xFF00FF00);  // any ink: drawn in the image's frame colour
    r.mouseDown = shape(9, 9, 0xFF000000, 0xFFFF0000);
    return r;
}

MenuPage onePage()
{
    MenuPage page;
    MenuButton button;
    button.bounds = {100, 50, 200, 90};
    button.pictureAt = [](int w, int h) {
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(0xFFFF0000);
        return picture;
    };
    page.buttons = {button};
    page.backLeft = 20;
    page.backTop = 300;
    return page;
}

const DesignMapping kPal43(576, 540);

std::set<QRgb> coloursIn(const QImage &image, const EdgeRect &r)
{
    std::set<QRgb> colours;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST(MenuCompositor, ButtonLayersAreExactFramesAndMarkers)
{
    const ComposedMenu menu = ComposeMenu(onePage(), kPal43, resources(), true);
    // The back button first, at its mapped point and its picture's size.
    ASSERT_EQ(menu.buttons.size(), 2u);
    const FramePoint back = kPal43.MapDesignPoint(20, 300);
    // Rectangles on even lines, holding what is drawn: 85-120 becomes 84-120.
    EXPECT_EQ(back, (FramePoint{27, 443}));
    EXPECT_EQ(menu.buttons[0], (EdgeRect{27, 442, 67, 464}));
    EXPECT_EQ(menu.buttons[1], (EdgeRect{150, 84, 266, 120}));

    struct {
        const char *name;
        const QImage &image;
        QRgb frame, back;
    } layers[] = {
        {"highlight", menu.highlight, kHighlightFrameColour, kHighlightBackColour},
        {"select", menu.select, kSelectColour, kSelectColour},
    };
    for (const auto &layer : layers) {
        SCOPED_TRACE(layer.name);
        const QImage &image = layer.image;
        ASSERT_EQ(image.size(), QSize(720, 576));
        ASSERT_EQ(image.format(), QImage::Format_Indexed8);
        // A 2-pixel frame over (150, 85)-(267, 121), right and bottom excluded.
        for (auto [x, y] : {std::pair{150, 85}, {151, 86}, {266, 120}, {265, 119}, {208, 85}, {150, 100}})
            EXPECT_EQ(image.pixel(x, y), layer.frame) << x << "," << y;
        for (auto [x, y] : {std::pair{149, 85}, {150, 84}, {267, 121}, {152, 87}, {264, 118}})
            EXPECT_EQ(image.pixel(x, y), kMenuKeyColour) << x << "," << y;
        // The marker centred on (208, 103): its ink, not its key, in the frame colour.
        EXPECT_EQ(image.pixel(208, 103), layer.frame);
        EXPECT_EQ(image.pixel(204, 99), kMenuKeyColour);
        // The back button's shape in the back colour, its key left transparent.
        EXPECT_EQ(image.pixel(back.x + 10, back.y + 10), layer.back);
        EXPECT_EQ(image.pixel(back.x, back.y), kMenuKeyColour);
        for (const EdgeRect &button : menu.buttons)
            EXPECT_LE(coloursIn(image, button).size(), 4u);
    }

    // The background: black without a picture, the button's picture at its
    // rectangle, the back button at its own size.
    ASSERT_EQ(menu.background.size(), QSize(720, 576));
    EXPECT_EQ(menu.background.pixel(10, 10), 0xFF000000);
    EXPECT_EQ(menu.background.pixel(150, 85), 0xFFFF0000);
    EXPECT_EQ(menu.background.pixel(265, 119), 0xFFFF0000);
    EXPECT_EQ(menu.background.pixel(266, 120), 0xFF000000);
    EXPECT_EQ(menu.background.pixel(back.x + 10, back.y + 10), 0xFFE0E0E0);
}

// The smallest rectangle of r holding every pixel that is not black.
EdgeRect pictureIn(const QImage &frame, const EdgeRect &r)
{
    EdgeRect found{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (qGreen(frame.pixel(x, y)) > 60) {
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                         std::max(found.bottom, y + 1)};
            }
    return found;
}

// A DVD frame's pixels are not square; a letterboxed button picture must
// keep its shape as the screen shows it (the page's square pixels), as the
// editor showed it, not its shape in frame pixels.
TEST(MenuCompositor, LetterboxedButtonPicturesKeepTheirShapeOnScreen)
{
    struct Case {
        const char *name;
        int frameHeight, designHeight;
        QSize pictureArea;  // on the design page, square pixels
        QSize picture;      // the clip's snapshot at display size
        bool barsAboveAndBelow, barsBeside;
    } cases[] = {
        {"16:9 clip, NTSC 16:9 button", 480, 404, {144, 81}, {720, 405}, false, false},
        {"16:9 clip, PAL 16:9 button", 576, 404, {144, 81}, {720, 405}, false, false},
        {"4:3 clip, PAL 4:3 button", 576, 540, {120, 90}, {720, 540}, false, false},
        {"16:9 clip, NTSC 4:3 button", 480, 540, {120, 90}, {720, 405}, true, false},
        {"16:9 clip, PAL 4:3 button", 576, 540, {120, 90}, {720, 405}, true, false},
        {"4:3 clip, NTSC 16:9 button", 480, 404, {144, 81}, {720, 540}, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage snapshot(c.picture, QImage::Format_RGB32);
        snapshot.fill(0xFF30C060);
        MenuPage page;
        MenuButton button;
        button.bounds = {100, 50, 100 + c.pictureArea.width() + 16, 50 + c.pictureArea.height() + 16};
        button.pictureAt = [snapshot](int w, int h) {
            QImage shown;
            common::LetterboxStretch(shown, snapshot, w, h, true);
            return shown;
        };
        page.buttons = {button};
        const DesignMapping mapping(c.frameHeight, c.designHeight);
        const QImage frame = ComposeMenu(page, mapping, resources(), false).background;

        const EdgeRect area = mapping.MapButtonRect(button.bounds);
        const EdgeRect shown = pictureIn(frame, area);
        const double vertical = double(c.frameHeight) / c.designHeight;
        const double shownAspect = shown.width() / (shown.height() / vertical);
        EXPECT_NEAR(shownAspect, double(c.picture.width()) / c.picture.height(), 0.03)
            << shown.width() << "x" << shown.height() << " in " << area.width() << "x" << area.height();
        EXPECT_EQ(area.height() - shown.height() > 4, c.barsAboveAndBelow);
        EXPECT_EQ(area.width() - shown.width() > 4, c.barsBeside);
    }
}

TEST(MenuCompositor, BackButtonOnlyWhenWantedAndPossible)
{
    MenuResources noShape = resources();
    noShape.backPng = QImage();
    struct {
        const char *name;
        MenuResources resources;
        bool wanted;
    } cases[] = {{"not wanted", resources(), false}, {"shape missing", noShape, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ComposedMenu menu = ComposeMenu(onePage(), kPal43, c.resources, c.wanted);
        ASSERT_EQ(menu.buttons.size(), 1u);
        const FramePoint back = kPal43.MapDesignPoint(20, 300);
        EXPECT_EQ(menu.highlight.pixel(back.x + 10, back.y + 10), kMenuKeyColour);
        EXPECT_EQ(menu.background.pixel(back.x + 10, back.y + 10), 0xFF000000);
    }
}

TEST(MenuCompositor, BackgroundPictureDecodedByContentAndScaled)
{
    QTemporaryDir dir;
    QImage blue(320, 240, QImage::Format_RGB32);
    blue.fill(0xFF0000FF);
    const std::string jpeg = dir.filePath("back.jpeg").toStdString();
    const std::string misnamed = dir.filePath("back.bmp").toStdString();  // JPEG data under a .bmp name
    ASSERT_TRUE(blue.save(QString::fromStdString(jpeg), "JPG"));
    ASSERT_TRUE(blue.save(QString::fromStdString(misnamed), "JPG"));
    const std::string broken = dir.filePath("broken.jpg").toStdString();
    ASSERT_TRUE(WriteTextFile(broken, "not a picture"));
    struct {
        std::string file;
        bool blueExpected;
    } cases[] = {{jpeg, true}, {misnamed, true}, {broken, false}, {dir.filePath("none.jpg").toStdString(), false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QImage frame = MenuBackgroundPicture(c.file, 480);
        ASSERT_EQ(frame.size(), QSize(720, 480));
        const QColor corner = frame.pixelColor(719, 479);
        EXPECT_EQ(corner.blue() > 200 && corner.red() < 40, c.blueExpected) << corner.name().toStdString();
        if (!c.blueExpected) {
            EXPECT_EQ(corner, QColor(Qt::black));
        }
    }
}

TEST(MenuCompositor, LabelsAreDrawnInTheirStyleAtTheirRectangle)
{
    MenuPage page;
    MenuLabel label;
    label.bounds = {100, 100, 300, 140};
    label.text = "Holiday";
    label.fontSize = 20;
    label.colour = QColor(255, 255, 0);
    page.labels = {label};
    const QImage plain = ComposeMenu(page, kPal43, resources(), false).background;
    page.labels[0].underline = true;
    const QImage underlined = ComposeMenu(page, kPal43, resources(), false).background;

    const EdgeRect at = kPal43.MapTextRect(label.bounds);
    int inked = 0, outside = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x) {
            const bool yellow = plain.pixelColor(x, y).red() > 128 && plain.pixelColor(x, y).blue() < 64;
            if (!yellow)
                continue;
            if (x >= at.left && y >= at.top)
                ++inked;
            else
                ++outside;
        }
    EXPECT_GT(inked, 100);
    EXPECT_EQ(outside, 0);
    EXPECT_NE(plain, underlined);
}

TEST(MenuControlFile, GoldenWithEscapedPaths)
{
    const std::string on = "/w/Tom & \"Jerry\" <1>/Title_on.png";
    const std::string down = "/w/Été's/Title_down.png";
    EXPECT_EQ(JoinCrLf(MakeMenuControlFile(on, down, {{24, 560, 64, 580}, {150, 85, 266, 120}})),
              "<subpictures>\r\n"
              "  <stream>\r\n"
              "    <spu start=\"00:00:00.0\" end=\"00:00:00.0\"\r\n"
              "         highlight=\"/w/Tom &amp; &quot;Jerry&quot; &lt;1&gt;/Title_on.png\"\r\n"
              "         select=\"/w/Été&apos;s/Title_down.png\"\r\n"
              "         transparent=\"010101\" force=\"yes\"\r\n"
              "         autoorder=\"rows\">\r\n"
              "    <button x0=\"24\" y0=\"560\" x1=\"64\" y1=\"580\"/>\r\n"
              "    <button x0=\"150\" y0=\"85\" x1=\"266\" y1=\"120\"/>\r\n"
              "    </spu>\r\n"
              "  </stream>\r\n"
              "</subpictures>\r\n");
}

TEST(MenuFiles, WrittenImagesKeepTheirExactPalette)
{
    QTemporaryDir dir;
    const MenuFiles files = TitleMenuFiles(dir.path().toStdString() + "/");
    const ComposedMenu menu = ComposeMenu(onePage(), kPal43, resources(), true);
    ASSERT_EQ(WriteMenuFiles(menu, files), "");
    for (const auto &[path, drawn] : {std::pair{files.highlight, &menu.highlight}, {files.select, &menu.select}}) {
        SCOPED_TRACE(path);
        QImage read(QString::fromStdString(path));
        ASSERT_EQ(read.format(), QImage::Format_Indexed8);
        ASSERT_EQ(read.colorCount(), drawn->colorCount());
        EXPECT_EQ(qAlpha(read.color(0)), 0);  // the key is transparent
        EXPECT_EQ(read.color(0) | 0xFF000000, kMenuKeyColour);
        for (int i = 1; i < read.colorCount(); ++i)
            EXPECT_EQ(read.color(i), drawn->color(i));
        for (int y = 0; y < 576; y += 7)
            for (int x = 0; x < 720; x += 3)
                ASSERT_EQ(read.pixelIndex(x, y), drawn->pixelIndex(x, y)) << x << "," << y;
    }
    QImage background(QString::fromStdString(files.background));
    EXPECT_EQ(background.size(), QSize(720, 576));
    EXPECT_EQ(background.depth(), 32);  // Qt reads 24-bit BMPs into 32-bit images
}

} // namespace
} // namespace vt::production
