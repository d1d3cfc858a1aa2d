#include "app/widgets/skin.h"

#include "app/widgets/program_folder.h"

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

QPixmap renderSvg(const QString &file, QSize size)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap loadNatural(const QString &file)
{
    if (file.endsWith(QLatin1String(".svg")))
        return renderSvg(file, {});
    return QPixmap(file);
}

QPixmap scaledInto(const QString &file, QSize size)
{
    QSize natural = loadNatural(file).size();
    if (natural.isEmpty())
        return {};
    QSize fitted = natural.scaled(size, Qt::KeepAspectRatio);
    QPixmap picture = file.endsWith(QLatin1String(".svg"))
        ? renderSvg(file, fitted)
        : QPixmap(file).scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawPixmap((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, picture);
    painter.end();
    return QPixmap::fromImage(canvas);
}

QPixmap nineSliced(const QString &file, QSize size)
{
    QPixmap source = loadNatural(file);
    if (source.isNull())
        return {};
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    // Small pictures keep at least one pixel of edge and centre.
    const int c = std::min({Skin::kFrameCorner, (source.width() - 1) / 2, (source.height() - 1) / 2});
    qDrawBorderPixmap(&painter, QRect(QPoint(0, 0), size), QMargins(c, c, c, c), source);
    painter.end();
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
    return load(programFolder() + QStringLiteral("Skin/"));
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

QPixmap Skin::picture(const QString &name, QSize size, Fit fit) const
{
    QString file = pictureFile(name);
    if (file.isEmpty())
        return {};
    if (fit == Fit::Natural || size.isEmpty())
        return loadNatural(file);
    if (fit == Fit::NineSlice)
        return nineSliced(file, size);
    return scaledInto(file, size);
}

ButtonPictures Skin::buttonPictures(const QString &name, QSize size, Fit fit) const
{
    QPixmap normal = picture(name + QStringLiteral("_normal"), size, fit);
    if (normal.isNull())
        return buttonPicturesFrom(picture(name, size, fit));

    ButtonPictures pictures = buttonPicturesFrom(normal);
    auto explicitState = [&](const char *suffix, QPixmap &state) {
        QPixmap given = picture(name + QLatin1String(suffix), size, fit);
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
