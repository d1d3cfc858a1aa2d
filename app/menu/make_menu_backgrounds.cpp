// Draws the menu backgrounds shipped in the program folder's Background/:
// six 720 × 576 pictures of our own, calm enough for buttons and text on
// top, written as JPEG files named in Background/Background.ini.
//
// Usage: make_menu_backgrounds FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kWidth = 720, kHeight = 576;

void verticalGradient(QPainter &painter, std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient gradient(0, 0, 0, kHeight);
    for (const auto &[at, colour] : stops)
        gradient.setColorAt(at, colour);
    painter.fillRect(0, 0, kWidth, kHeight, gradient);
}

void glow(QPainter &painter, QPointF centre, double radius, QColor colour)
{
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, colour);
    colour.setAlpha(0);
    gradient.setColorAt(1, colour);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
}

// A band of hills or waves: a sine line filled down to the bottom.
void waves(QPainter &painter, double base, double amplitude, double length, double phase, QColor colour)
{
    QPainterPath path(QPointF(0, kHeight));
    for (int x = 0; x <= kWidth; x += 4)
        path.lineTo(x, base + amplitude * std::sin(x / length + phase) + amplitude * 0.4 * std::sin(x / (length * 0.37) + 2 * phase));
    path.lineTo(kWidth, kHeight);
    path.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
}

void dusk(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(28, 22, 64)}, {0.55, QColor(186, 84, 96)}, {1, QColor(250, 178, 96)}});
    glow(painter, {520, 330}, 150, QColor(255, 220, 150, 200));
    waves(painter, 420, 18, 90, 0.3, QColor(58, 36, 70));
    waves(painter, 470, 14, 70, 1.7, QColor(36, 24, 48));
}

void ocean(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(120, 190, 230)}, {0.5, QColor(40, 110, 170)}, {1, QColor(8, 36, 78)}});
    glow(painter, {160, 90}, 200, QColor(255, 255, 255, 110));
    for (int i = 0; i < 5; ++i)
        waves(painter, 300 + i * 58, 10 + i * 2, 60 + i * 8, i * 1.3, QColor(10, 60 + i * 6, 120 - i * 12, 90));
}

void meadow(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(150, 205, 240)}, {0.6, QColor(220, 236, 214)}, {1, QColor(240, 240, 200)}});
    glow(painter, {600, 100}, 110, QColor(255, 250, 210, 220));
    waves(painter, 360, 30, 130, 0.0, QColor(120, 176, 96));
    waves(painter, 420, 24, 100, 2.1, QColor(84, 150, 72));
    waves(painter, 490, 16, 80, 4.0, QColor(52, 112, 56));
}

void velvet(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(60, 8, 30)}, {1, QColor(20, 4, 16)}});
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        QLinearGradient fold(i * 56, 0, i * 56 + 56, 0);
        fold.setColorAt(0, QColor(120, 16, 48, 0));
        fold.setColorAt(0.5, QColor(160, 30, 70, 90));
        fold.setColorAt(1, QColor(120, 16, 48, 0));
        painter.fillRect(i * 56 - 10, 0, 76, kHeight, fold);
    }
    glow(painter, {360, 0}, 360, QColor(255, 200, 150, 70));
}

void aurora(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(4, 10, 30)}, {1, QColor(10, 30, 50)}});
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight * 0.7), size(0.6, 1.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 180));
    for (int i = 0; i < 160; ++i) {
        const double r = size(random);
        painter.drawEllipse(QPointF(x(random), y(random)), r, r);
    }
    for (int band = 0; band < 3; ++band) {
        QPainterPath path;
        for (int px = 0; px <= kWidth; px += 6) {
            const double py = 150 + band * 50 + 40 * std::sin(px / 110.0 + band);
            px == 0 ? path.moveTo(px, py) : path.lineTo(px, py);
        }
        const QColor colours[] = {QColor(80, 255, 160, 70), QColor(60, 200, 255, 60), QColor(170, 110, 255, 50)};
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colours[band], 46 - band * 10, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(path);
    }
    waves(painter, 500, 20, 60, 0.8, QColor(4, 12, 20));
}

void slate(QPainter &painter)
{
    verticalGradient(painter, {{0, QColor(70, 78, 90)}, {1, QColor(34, 38, 46)}});
    painter.setPen(QPen(QColor(255, 255, 255, 14), 2));
    for (int i = -kHeight; i < kWidth; i += 24)
        painter.drawLine(i, kHeight, i + kHeight, 0);
    glow(painter, {360, 288}, 320, QColor(150, 170, 200, 60));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_menu_backgrounds FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]) + '/';
    const std::pair<const char *, std::function<void(QPainter &)>> pictures[] = {
        {"Dusk.jpg", dusk}, {"Ocean.jpg", ocean}, {"Meadow.jpg", meadow},
        {"Velvet.jpg", velvet}, {"Aurora.jpg", aurora}, {"Slate.jpg", slate},
    };
    for (const auto &[name, draw] : pictures) {
        QImage picture(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        if (!picture.save(folder + name, "JPG", 92)) {
            std::fprintf(stderr, "make_menu_backgrounds: cannot write %s\n", qPrintable(folder + name));
            return 1;
        }
    }
    return 0;
}
