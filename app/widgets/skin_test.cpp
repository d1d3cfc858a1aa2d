#include "app/widgets/skin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray squareSvg(const char *colour, int size = 20)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\">"
                          "<rect width=\"%1\" height=\"%1\" fill=\"%2\"/></svg>")
        .arg(size)
        .arg(QLatin1String(colour))
        .toUtf8();
}

QRgb centre(const QPixmap &picture)
{
    QImage image = picture.toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void missingStyleSheetIsAnErrorAndKeepsTheLoadedSkin()
    {
        QTemporaryDir good;
        writeFile(good.filePath(QStringLiteral("skin.qss")), "QLabel { color: red; }");
        vt::Skin skin;
        QVERIFY(skin.load(good.path()));

        QTemporaryDir empty;
        QVERIFY(!skin.load(empty.path()));
        QVERIFY(skin.errorString().contains(empty.filePath(QStringLiteral("skin.qss"))));
        QCOMPARE(skin.folder(), good.path() + QLatin1Char('/'));
        QCOMPARE(skin.styleSheet(), QStringLiteral("QLabel { color: red; }"));
    }

    void styleSheetNamesSkinFilesByAbsolutePath()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("skin.qss")),
                  "QCheckBox::indicator { image: url(%SKIN%/a.svg); }\nQLabel { image: url(%SKIN%/b.png); }");
        vt::Skin skin;
        QVERIFY(skin.load(dir.path() + QLatin1Char('/')));
        QCOMPARE(skin.styleSheet(),
                 QStringLiteral("QCheckBox::indicator { image: url(%1/a.svg); }\nQLabel { image: url(%1/b.png); }")
                     .arg(dir.path()));
    }

    void picturesPreferSvgAndFitTheSizeAskedFor()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("skin.qss")), "");
        writeFile(dir.filePath(QStringLiteral("logo.svg")), squareSvg("#ff0000"));
        QImage png(8, 8, QImage::Format_ARGB32);
        png.fill(Qt::blue);
        QVERIFY(png.save(dir.filePath(QStringLiteral("logo.png"))));
        QVERIFY(png.save(dir.filePath(QStringLiteral("only.png"))));
        vt::Skin skin;
        QVERIFY(skin.load(dir.path()));

        QCOMPARE(skin.pictureFile(QStringLiteral("logo")), dir.filePath(QStringLiteral("logo.svg")));
        QCOMPARE(skin.picture(QStringLiteral("logo")).size(), QSize(20, 20));
        QCOMPARE(centre(skin.picture(QStringLiteral("logo"))), qRgb(255, 0, 0));
        QCOMPARE(skin.picture(QStringLiteral("only")).size(), QSize(8, 8));

        // Scale keeps the aspect ratio inside the size and centres it.
        QPixmap scaled = skin.picture(QStringLiteral("logo"), QSize(60, 30), vt::Skin::Fit::Scale);
        QCOMPARE(scaled.size(), QSize(60, 30));
        QCOMPARE(qAlpha(scaled.toImage().pixel(5, 15)), 0);
        QCOMPARE(scaled.toImage().pixel(30, 15), qRgb(255, 0, 0));
        QPixmap frame = skin.picture(QStringLiteral("only"), QSize(50, 24), vt::Skin::Fit::NineSlice);
        QCOMPARE(frame.size(), QSize(50, 24));
        QCOMPARE(frame.toImage().pixel(25, 12), qRgb(0, 0, 255));

        // Sharp on high-density screens: more device pixels, same layout size.
        for (vt::Skin::Fit fit : {vt::Skin::Fit::Natural, vt::Skin::Fit::Scale, vt::Skin::Fit::NineSlice}) {
            QPixmap dense = skin.picture(QStringLiteral("logo"), QSize(40, 20), fit, 2.0);
            QSize expected = fit == vt::Skin::Fit::Natural ? QSize(20, 20) : QSize(40, 20);
            QCOMPARE(dense.deviceIndependentSize().toSize(), expected);
            QCOMPARE(dense.size(), expected * 2);
            QCOMPARE(dense.toImage().pixel(dense.width() / 2, dense.height() / 2), qRgb(255, 0, 0));
        }

        QVERIFY(skin.picture(QStringLiteral("missing")).isNull());
        QVERIFY(vt::Skin().picture(QStringLiteral("logo")).isNull());
    }

    void buttonStatesComeFromTheirFilesOrAreDerived()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("skin.qss")), "");
        writeFile(dir.filePath(QStringLiteral("ok_normal.svg")), squareSvg("#2060c0"));
        writeFile(dir.filePath(QStringLiteral("ok_pressed.svg")), squareSvg("#00ff00"));
        writeFile(dir.filePath(QStringLiteral("plain.svg")), squareSvg("#2060c0"));
        vt::Skin skin;
        QVERIFY(skin.load(dir.path()));

        vt::ButtonPictures ok = skin.buttonPictures(QStringLiteral("ok"));
        QCOMPARE(centre(ok.normal), qRgb(0x20, 0x60, 0xc0));
        QCOMPARE(centre(ok.pressed), qRgb(0, 255, 0));
        QVERIFY(qGray(centre(ok.hover)) > qGray(centre(ok.normal)));

        vt::ButtonPictures plain = skin.buttonPictures(QStringLiteral("plain"));
        QCOMPARE(centre(plain.normal), qRgb(0x20, 0x60, 0xc0));
        QVERIFY(qGray(centre(plain.hover)) > qGray(centre(plain.normal)));
        QVERIFY(qGray(centre(plain.pressed)) < qGray(centre(plain.normal)));
        QRgb disabled = centre(plain.disabled);
        QCOMPARE(qRed(disabled), qBlue(disabled));
        QVERIFY(qAlpha(disabled) < 255);

        QVERIFY(skin.buttonPictures(QStringLiteral("missing")).isNull());
    }

    void paletteFileSetsRolesAndRejectsBadLines()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("skin.qss")), "");
        writeFile(dir.filePath(QStringLiteral("palette.ini")),
                  "# comment\nWindow = #102030\n\n; another\nDisabledText=#aabbcc\n");
        vt::Skin skin;
        QVERIFY2(skin.load(dir.path()), qPrintable(skin.errorString()));
        QCOMPARE(skin.palette().color(QPalette::Active, QPalette::Window), QColor(0x10, 0x20, 0x30));
        QCOMPARE(skin.palette().color(QPalette::Disabled, QPalette::Window), QColor(0x10, 0x20, 0x30));
        QCOMPARE(skin.palette().color(QPalette::Disabled, QPalette::Text), QColor(0xaa, 0xbb, 0xcc));

        const char *bad[] = {"Window #102030\n", "Windw = #102030\n", "Window = notacolour\n", "NColorRoles = #000000\n"};
        for (const char *content : bad) {
            QTemporaryDir broken;
            writeFile(broken.filePath(QStringLiteral("skin.qss")), "");
            writeFile(broken.filePath(QStringLiteral("palette.ini")), content);
            vt::Skin strict;
            QVERIFY2(!strict.load(broken.path()), content);
            QVERIFY(strict.errorString().contains(QStringLiteral("line 1")));
            QVERIFY(!strict.isLoaded());
        }
    }

    void appliedSkinLeavesLabelColoursToTheirPalette()
    {
        vt::Skin skin;
        QString binDir = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR));
        QVERIFY(skin.load(binDir + QStringLiteral("/Skin/")));
        skin.apply(*qApp);
        QCOMPARE(qApp->palette().color(QPalette::Window), skin.palette().color(QPalette::Window));

        // A white caption on black, as the about window draws its version.
        QLabel label(QStringLiteral("\u2588\u2588\u2588"));
        label.setAutoFillBackground(true);
        QPalette white = label.palette();
        white.setColor(QPalette::WindowText, Qt::white);
        label.setPalette(white);
        label.setStyleSheet(QStringLiteral("background: black;"));
        label.resize(label.sizeHint());
        QImage shot = label.grab().toImage();
        int whitePixels = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                whitePixels += shot.pixelColor(x, y) == QColor(Qt::white);
        }
        QVERIFY(whitePixels > 10);
        qApp->setStyleSheet(QString());
    }

    void programFolderSkinIsLookedUpBesideTheExecutable()
    {
        vt::Skin skin;
        // Test programs live in build/tests, which holds no skin.
        QVERIFY(!skin.loadFromProgramFolder());
        QVERIFY2(skin.errorString().contains(QCoreApplication::applicationDirPath() + QStringLiteral("/Skin/skin.qss")),
                 qPrintable(skin.errorString()));
    }

    void programSkinReferencesOnlyFilesItShips()
    {
        vt::Skin skin;
        QString binDir = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR));
        QVERIFY2(skin.load(binDir + QStringLiteral("/Skin/")), qPrintable(skin.errorString()));
        static const QRegularExpression url(QStringLiteral("url\\(([^)]+)\\)"));
        int references = 0;
        for (const QRegularExpressionMatch &match : url.globalMatch(skin.styleSheet())) {
            QVERIFY2(QFile::exists(match.captured(1)), qPrintable(match.captured(1)));
            ++references;
        }
        QVERIFY(references > 0);
        // The pictures the widget set itself asks for.
        for (const char *name : {"app_icon", "title_min_normal", "title_close_normal", "button_normal",
                                 "button_accent_normal"})
            QVERIFY2(!skin.picture(QLatin1String(name)).isNull(), name);
    }
};

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
