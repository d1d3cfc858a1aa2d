#include "app/widgets/skin.h"

#include "platform/paths.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QPainter>
#include <QStyleFactory>
#include <QSvgRenderer>
#include <qdrawutil.h>

#include <algorithm>

namespace vt {

namespace {

bool isSvg(const QString &file)
{
    return file.endsWith(QLatin1String(".svg"));
}

// A transparent image of size (device-independent pixels) at dpr.
QImage transparentCanvas(QSize size, qreal dpr)
{
    QImage canvas(size * dpr, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(dpr);
    canvas.fill(Qt::transparent);
    return canvas;
}

// SVG rendered at size (its own size when empty), sharp at dpr.
QPixmap renderSvg(const QString &file, QSize size, qreal dpr)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    QImage image = transparentCanvas(size, dpr);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return QPixmap::fromImage(image);
}

// The picture at its own size; only SVG gains from a higher dpr.
QPixmap loadNatural(const QString &file, qreal dpr)
{
    return isSvg(file) ? renderSvg(file, {}, dpr) : QPixmap(file);
}

QPixmap scaledInto(const QString &file, QSize size, qreal dpr)
{
    QSize natural = loadNatural(file, 1.0).size();
    if (natural.isEmpty())
        return {};
    QSize fitted = natural.scaled(size, Qt::KeepAspectRatio);
    QPixmap picture;
    if (isSvg(file)) {
        picture = renderSvg(file, fitted, dpr);
    } else {
        picture = QPixmap(file).scaled(fitted * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(dpr);
    }
    QImage canvas = transparentCanvas(size, dpr);
    QPainter painter(&canvas);
    painter.drawPixmap((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, picture);
    painter.end();
    return QPixmap::fromImage(canvas);
}

QPixmap nineSliced(const QString &file, QSize size, qreal dpr)
{
    QPixmap source = loadNatural(file, dpr);
    if (source.isNull())
        return {};
    // Sliced in device pixels, so corners stay sharp at any dpr.
    QSize logicalSource = source.deviceIndependentSize().toSize();
    source.setDevicePixelRatio(1.0);
    QImage canvas = transparentCanvas(size * dpr, 1.0);
    QPainter painter(&canvas);
    // Small pictures keep at least one pixel of edge and centre.
    const int corner = std::min({Skin::kFrameCorner, (logicalSource.width() - 1) / 2, (logicalSource.height() - 1) / 2});
    const int c = qRound(corner * dpr);
    qDrawBorderPixmap(&painter, canvas.rect(), QMargins(c, c, c, c), source);
    painter.end();
    canvas.setDevicePixelRatio(dpr);
    return QPixmap::fromImage(canvas);
}

// Reads palette.ini (see skin.h) into palette; a missing file is no error.
bool readPalette(const QString &file, QPalette &palette, QString &error)
{
    QFile in(file);
    if (!in.exists())
        return true;
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("Cannot read %1: %2").arg(file, in.errorString());
        return false;
    }
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    int lineNumber = 0;
    while (!in.atEnd()) {
        QString line = QString::fromUtf8(in.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        qsizetype equals = line.indexOf(QLatin1Char('='));
        QString name = line.left(equals).trimmed();
        QColor colour(line.mid(equals + 1).trimmed());
        QPalette::ColorGroup group = QPalette::All;
        if (name.startsWith(QLatin1String("Disabled"))) {
            group = QPalette::Disabled;
            name = name.mid(8);
        }
        bool known = false;
        int role = roles.keyToValue(name.toLatin1().constData(), &known);
        if (equals < 0 || !known || role == QPalette::NColorRoles || !colour.isValid()) {
            error = QStringLiteral("%1 line %2: expected \"Role = #rrggbb\", found \"%3\"").arg(file).arg(lineNumber).arg(line);
            return false;
        }
        palette.setColor(group, QPalette::ColorRole(role), colour);
    }
    return true;
}

} // namespace

bool Skin::load(const QString &folder)
{
    QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QFile sheet(base + QStringLiteral("skin.qss"));
    if (!sheet.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = QStringLiteral("Cannot read the skin style sheet %1: %2").arg(sheet.fileName(), sheet.errorString());
        return false;
    }
    QString text = QString::fromUtf8(sheet.readAll());
    QPalette palette;
    if (!readPalette(base + QStringLiteral("palette.ini"), palette, error_))
        return false;
    folder_ = base;
    palette_ = palette;
    // Style sheet URLs are resolved against the working folder, so the
    // skin's own files are named by absolute path.
    styleSheet_ = text.replace(QStringLiteral("%SKIN%"), base.chopped(1));
    error_.clear();
    return true;
}

bool Skin::loadFromProgramFolder()
{
    return load(QString::fromStdString(ExePath()) + QStringLiteral("Skin/"));
}

QString Skin::pictureFile(const QString &name) const
{
    if (folder_.isEmpty() || name.isEmpty())
        return {};
    for (const char *extension : {".svg", ".png"}) {
        QString file = folder_ + name + QLatin1String(extension);
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

QPixmap Skin::picture(const QString &name, QSize size, Fit fit, qreal dpr) const
{
    QString file = pictureFile(name);
    if (file.isEmpty())
        return {};
    if (fit == Fit::Natural || size.isEmpty())
        return loadNatural(file, dpr);
    if (fit == Fit::NineSlice)
        return nineSliced(file, size, dpr);
    return scaledInto(file, size, dpr);
}

ButtonPictures Skin::buttonPictures(const QString &name, QSize size, Fit fit, qreal dpr) const
{
    QPixmap normal = picture(name + QStringLiteral("_normal"), size, fit, dpr);
    if (normal.isNull())
        return buttonPicturesFrom(picture(name, size, fit, dpr));

    ButtonPictures pictures = buttonPicturesFrom(normal);
    auto explicitState = [&](const char *suffix, QPixmap &state) {
        QPixmap given = picture(name + QLatin1String(suffix), size, fit, dpr);
        if (!given.isNull())
            state = given;
    };
    explicitState("_hover", pictures.hover);
    explicitState("_pressed", pictures.pressed);
    explicitState("_disabled", pictures.disabled);
    return pictures;
}

void Skin::apply(QApplication &app) const
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setPalette(palette_);
    app.setStyleSheet(styleSheet_);
}

Skin &Skin::current()
{
    static Skin skin;
    return skin;
}

} // namespace vt
