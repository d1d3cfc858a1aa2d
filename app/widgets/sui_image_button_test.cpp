#include "app/widgets/sui_image_button.h"

#include "app/widgets/test_skin.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

QPixmap filled(QColor colour)
{
    QPixmap picture(16, 16);
    picture.fill(colour);
    return picture;
}

vt::ButtonPictures fourColours()
{
    return {filled(Qt::red), filled(Qt::green), filled(Qt::blue), filled(Qt::gray)};
}

void enter(QWidget *widget)
{
    QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    QEnterEvent event(inside, widget->mapToGlobal(inside), widget->mapToGlobal(inside));
    QCoreApplication::sendEvent(widget, &event);
}

void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

QRgb shownColour(TsuiImageButton &button)
{
    QImage image = button.grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vt::applyTestSkin(); }

    void pictureFollowsHoverPressAndDisable()
    {
        TsuiImageButton button;
        button.resize(40, 40);
        button.setPictures(fourColours());
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Normal);
        QCOMPARE(shownColour(button), QColor(Qt::red).rgb());

        enter(&button);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Hover);
        QCOMPARE(shownColour(button), QColor(Qt::green).rgb());

        QTest::mousePress(&button, Qt::LeftButton);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Pressed);
        QCOMPARE(shownColour(button), QColor(Qt::blue).rgb());
        QTest::mouseRelease(&button, Qt::LeftButton);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Hover);

        leave(&button);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Normal);

        button.setEnabled(false);
        enter(&button);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Disabled);
        QCOMPARE(shownColour(button), QColor(Qt::gray).rgb());
        button.setEnabled(true);
        QCOMPARE(button.pictureState(), TsuiImageButton::PictureState::Hover);
    }

    void clickedOnlyWhenReleasedOverTheButton()
    {
        TsuiImageButton button;
        button.resize(40, 40);
        button.setPictures(fourColours());
        QSignalSpy clicked(&button, &QAbstractButton::clicked);

        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);

        QTest::mousePress(&button, Qt::LeftButton);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(clicked.count(), 1);

        button.setEnabled(false);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    void skinPicturesAreRenderedToTheButtonSize()
    {
        TsuiImageButton button;
        button.resize(90, 28);
        button.setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
        button.show();
        QCOMPARE(button.currentPicture().size(), QSize(90, 28));
        button.resize(120, 30);
        QCOMPARE(button.currentPicture().size(), QSize(120, 30));
        QCOMPARE(button.skinPicture(), QStringLiteral("button_accent"));

        // Explicit pictures replace the skin's and are no longer resized.
        button.setPictures(fourColours());
        button.resize(50, 50);
        QCOMPARE(button.currentPicture().size(), QSize(16, 16));
        QVERIFY(button.skinPicture().isEmpty());
        QCOMPARE(button.sizeHint(), QSize(16, 16));

        // Natural skin pictures keep their own size and ask for it.
        TsuiImageButton tool;
        tool.resize(60, 60);
        tool.setSkinPicture(QStringLiteral("tool_home"), vt::Skin::Fit::Natural);
        QCOMPARE(tool.currentPicture().size(), QSize(32, 32));
        QCOMPARE(tool.sizeHint(), QSize(32, 32));
    }

    void captionIsDrawnOverThePicture()
    {
        TsuiImageButton plain;
        plain.resize(90, 28);
        plain.setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
        TsuiImageButton captioned;
        captioned.resize(90, 28);
        captioned.setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
        captioned.setCaption(QStringLiteral("OK"));
        QCOMPARE(captioned.caption(), QStringLiteral("OK"));
        QVERIFY(plain.grab().toImage() != captioned.grab().toImage());
        QVERIFY(captioned.sizeHint().width() >= captioned.fontMetrics().horizontalAdvance(QStringLiteral("OK")));
    }
};

QTEST_MAIN(ImageButtonTest)
#include "sui_image_button_test.moc"
