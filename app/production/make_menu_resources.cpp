// Build tool: draws the menu pictures of the program folder's RES/ and makes
// the four root-menu VOBs from them with the program's own compositor, the
// converter library and spumux.
//
//   make_menu_resources PROGRAM_FOLDER WORK_FOLDER
//
// RES/BackBmp.bmp   the back button as drawn on a menu background
// RES/BackPng.bmp   its shape in the highlight and select images
// RES/MouseOn.bmp   the highlight marker, RES/MouseDown.bmp the select marker
// RES/MainSub{N,NW,P,PW}.vob  the root menu for NTSC/PAL, 4:3/16:9: a short
//                   silent still with two buttons, play title 1 and open
//                   the title menu.
#include "app/production/menu_compositor.h"
#include "app/production/menu_files.h"
#include "app/production/offscreen_gui.h"
#include "app/production/subtitle_step.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace vt::production;

namespace {

const QColor kKey(0, 0, 0);
const QColor kInk(255, 255, 255);
const QColor kPanel(28, 36, 52);
const QColor kPanelEdge(150, 170, 200);
const QColor kAccent(240, 190, 70);

QPainterPath playTriangle(QRectF box)
{
    QPainterPath path;
    path.moveTo(box.left(), box.top());
    path.lineTo(box.right(), box.center().y());
    path.lineTo(box.left(), box.bottom());
    path.closeSubpath();
    return path;
}

// A left arrow with a short tail, for the back button.
QPainterPath backArrow(QRectF box)
{
    QPainterPath path;
    const qreal midY = box.center().y(), head = box.height() / 2;
    path.moveTo(box.left(), midY);
    path.lineTo(box.left() + head, box.top());
    path.lineTo(box.left() + head, midY - head / 3);
    path.lineTo(box.right(), midY - head / 3);
    path.lineTo(box.right(), midY + head / 3);
    path.lineTo(box.left() + head, midY + head / 3);
    path.lineTo(box.left() + head, box.bottom());
    path.closeSubpath();
    return path;
}

QImage backButton()
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.drawRect(QRectF(0.5, 0.5, 63, 31));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPath(backArrow(QRectF(18, 8, 28, 16)));
    return image;
}

// The back button's outline: a ring just inside its picture, which keeps
// its top-left pixel in the key colour.
QImage backShape()
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    for (const QRect &bar : {QRect(1, 1, 62, 3), QRect(1, 28, 62, 3), QRect(1, 1, 3, 30), QRect(60, 1, 3, 30)})
        painter.drawRect(bar);
    return image;
}

// A play triangle over the middle of a button, without blending.
QImage marker()
{
    QImage image(23, 23, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPath(playTriangle(QRectF(5, 2, 15, 19)));
    return image;
}

QImage rootBackground(int height, const QString &play, const QString &menu, int playCentre, int menuCentre,
                      int labelTop)
{
    QImage image(720, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(14, 24, 48));
    sky.setColorAt(1, QColor(4, 6, 14));
    painter.fillRect(image.rect(), sky);
    QRadialGradient glow(QPointF(360, height * 0.45), 360);
    glow.setColorAt(0, QColor(60, 90, 150, 120));
    glow.setColorAt(1, QColor(60, 90, 150, 0));
    painter.fillRect(image.rect(), glow);
    painter.setPen(QPen(QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 150), 2));
    painter.drawLine(QPointF(160, height * 0.2), QPointF(560, height * 0.2));
    QFont font("DejaVu Sans");
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRect(playCentre - 120, labelTop, 240, 40), Qt::AlignHCenter | Qt::AlignTop, play);
    painter.drawText(QRect(menuCentre - 120, labelTop, 240, 40), Qt::AlignHCenter | Qt::AlignTop, menu);
    return image;
}

// A button picture: a panel with an icon in the middle.
QImage buttonPicture(int w, int h, bool play)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kPanelEdge, 2));
    painter.drawRect(QRectF(1, 1, w - 2, h - 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    const qreal side = std::min(w, h) * 0.45;
    const QRectF box(w / 2.0 - side / 2, h / 2.0 - side / 2, side, side);
    if (play) {
        painter.drawPath(playTriangle(box.adjusted(side * 0.12, 0, 0, 0)));
    } else {
        for (int i = 0; i < 3; ++i)
            painter.drawRect(QRectF(box.left(), box.top() + i * side * 0.38, side, side * 0.2));
    }
    return image;
}

bool save(const QImage &image, const std::string &path)
{
    if (image.save(QString::fromStdString(path), "BMP"))
        return true;
    std::fprintf(stderr, "make_menu_resources: can not write %s\n", path.c_str());
    return false;
}

struct RootMenu {
    const char *name;
    bool ntsc, wide;
};

bool makeRootMenu(const RootMenu &root, const MenuResources &resources, const std::string &programFolder,
                  const std::string &work, decltype(&X_SetPar_BMP2VOB) bmpToVob)
{
    const int frameHeight = root.ntsc ? 480 : 576;
    const int designHeight = root.wide ? 404 : 540;
    const DesignMapping mapping(frameHeight, designHeight);
    // The page as the editor would hold it: 518 design pixels across.
    const int pageHeight = static_cast<int>(TruncatedProduct(designHeight, 1 / kDesignToFrame));
    const int top = pageHeight / 2 - 62;
    const EdgeRect playBounds{109, top, 245, top + 100}, menuBounds{273, top, 409, top + 100};
    const FramePoint labels = mapping.MapDesignPoint(0, top + 106);
    const auto centre = [&](const EdgeRect &r) {
        const EdgeRect f = mapping.MapButtonRect(r);
        return (f.left + f.right) / 2;
    };

    const MenuFiles files = TitleMenuFiles(work + root.name + "_");
    MenuPage page;
    page.backgroundFile = work + root.name + "_picture.bmp";
    if (!save(rootBackground(frameHeight, "Play", "Menu", centre(playBounds), centre(menuBounds), labels.y),
              page.backgroundFile))
        return false;
    page.buttons = {{playBounds, [](int w, int h) { return buttonPicture(w, h, true); }},
                    {menuBounds, [](int w, int h) { return buttonPicture(w, h, false); }}};
    const ComposedMenu menu = ComposeMenu(page, mapping, resources, false);
    if (const std::string failed = WriteMenuFiles(menu, files); !failed.empty()) {
        std::fprintf(stderr, "make_menu_resources: can not write %s\n", failed.c_str());
        return false;
    }
    const char *frame = root.ntsc ? "720:480" : "720:576";
    if (bmpToVob(nullptr, root.ntsc ? 1 : 2, files.background.c_str(), "1", frame, frame, root.wide ? "16/9" : "4/3",
                 files.vob.c_str(), 0, "NoFile") != 0) {
        std::fprintf(stderr, "make_menu_resources: the converter library could not encode %s\n", root.name);
        return false;
    }
    if (RunSpumux(programFolder, {files.vob, files.muxOutput, files.control}) != 1) {
        std::fprintf(stderr, "make_menu_resources: spumux could not add the buttons of %s\n", root.name);
        return false;
    }
    std::error_code error;
    fs::rename(files.vob, programFolder + "/RES/" + root.name + ".vob", error);
    if (error) {
        std::fprintf(stderr, "make_menu_resources: %s\n", error.message().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_menu_resources PROGRAM_FOLDER WORK_FOLDER\n");
        return 2;
    }
    EnsureGuiApplication();
    const std::string programFolder = argv[1];
    const std::string work = std::string(argv[2]) + "/";
    std::error_code error;
    fs::create_directories(programFolder + "/RES", error);
    fs::create_directories(work, error);

    MenuResources resources{backButton(), backShape(), marker(), marker()};
    const std::string res = programFolder + "/RES/";
    if (!save(resources.backBmp, res + kBackBmpFile) || !save(resources.backPng, res + kBackPngFile) ||
        !save(resources.mouseOn, res + kMouseOnFile) || !save(resources.mouseDown, res + kMouseDownFile))
        return 1;

    vt::Module converter;
    decltype(&X_SetPar_BMP2VOB) bmpToVob = nullptr;
    if (!converter.open(programFolder + "/libCorvane.so") || !converter.bind("X_SetPar_BMP2VOB", bmpToVob)) {
        std::fprintf(stderr, "make_menu_resources: %s\n", converter.error().c_str());
        return 1;
    }
    for (const RootMenu &root : {RootMenu{"MainSubN", true, false}, RootMenu{"MainSubNW", true, true},
                                 RootMenu{"MainSubP", false, false}, RootMenu{"MainSubPW", false, true}})
        if (!makeRootMenu(root, resources, programFolder, work, bmpToVob))
            return 1;
    return 0;
}
