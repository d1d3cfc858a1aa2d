// The skinned borderless window, its title bar and the picture panel.
#include "app/widgets/sui_form.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_title_bar.h"
#include "app/widgets/test_skin.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vt::applyTestSkin(); }

    void clientAreaHasTheSizeAskedForUnderTheTitleBar()
    {
        TsuiForm form;
        form.setClientSize(581, 394);
        form.show();
        QCOMPARE(form.client()->size(), QSize(581, 394));
        QCOMPARE(form.size(), QSize(581 + 2 * TsuiForm::kBorder, 394 + TsuiTitleBar::kHeight + 2 * TsuiForm::kBorder));
        QCOMPARE(form.client()->y(), TsuiForm::kBorder + TsuiTitleBar::kHeight);
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.minimumSize(), form.maximumSize());

        // A window that draws its own caption buttons hides the bar.
        form.setTitleBarVisible(false);
        QCOMPARE(form.size(), QSize(581 + 2 * TsuiForm::kBorder, 394 + 2 * TsuiForm::kBorder));
        QCOMPARE(form.client()->pos(), QPoint(TsuiForm::kBorder, TsuiForm::kBorder));
    }

    void titleBarShowsTheWindowTitle()
    {
        TsuiForm form;
        form.setWindowTitle(QStringLiteral("Vantorel"));
        QCOMPARE(form.titleBar()->caption(), QStringLiteral("Vantorel"));
        form.setWindowTitle(QStringLiteral("Settings"));
        QCOMPARE(form.titleBar()->caption(), QStringLiteral("Settings"));
    }

    void draggingTheTitleBarMovesTheWindow()
    {
        TsuiForm form;
        form.setClientSize(300, 200);
        form.move(100, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPoint start = form.pos();
        TsuiTitleBar *bar = form.titleBar();

        sendMouse(bar, QEvent::MouseButtonPress, QPoint(50, 10), Qt::LeftButton);
        sendMouse(bar, QEvent::MouseMove, QPoint(80, 30), Qt::LeftButton);
        QCOMPARE(form.pos(), start + QPoint(30, 20));
        sendMouse(bar, QEvent::MouseButtonRelease, QPoint(80, 30), Qt::NoButton);

        // Moving without the button held does not drag.
        sendMouse(bar, QEvent::MouseMove, QPoint(200, 60), Qt::NoButton);
        QCOMPARE(form.pos(), start + QPoint(30, 20));

        // The client background drags only when the window asks for it.
        sendMouse(form.client(), QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
        sendMouse(form.client(), QEvent::MouseMove, QPoint(60, 50), Qt::LeftButton);
        sendMouse(form.client(), QEvent::MouseButtonRelease, QPoint(60, 50), Qt::NoButton);
        QCOMPARE(form.pos(), start + QPoint(30, 20));
        form.setDragByClient(true);
        sendMouse(form.client(), QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
        sendMouse(form.client(), QEvent::MouseMove, QPoint(60, 45), Qt::LeftButton);
        sendMouse(form.client(), QEvent::MouseButtonRelease, QPoint(60, 45), Qt::NoButton);
        QCOMPARE(form.pos(), start + QPoint(40, 15));
        form.setDragByClient(false);
        sendMouse(form.client(), QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
        sendMouse(form.client(), QEvent::MouseMove, QPoint(90, 90), Qt::LeftButton);
        QCOMPARE(form.pos(), start + QPoint(40, 15));
    }

    void closeAndMinimizeButtonsActOnTheWindow()
    {
        TsuiForm form;
        form.setClientSize(300, 200);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy finished(&form, &QDialog::finished);

        QTest::mouseClick(form.titleBar()->minimizeButton(), Qt::LeftButton);
        QVERIFY(form.windowState() & Qt::WindowMinimized);
        form.showNormal();

        QTest::mouseClick(form.titleBar()->closeButton(), Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
    }

    void imagePanelStretchesItsPicture()
    {
        TsuiImagePanel panel;
        panel.resize(60, 40);
        QPixmap picture(2, 2);
        picture.fill(QColor(10, 200, 30));
        panel.setPicture(picture);
        QImage shown = panel.grab().toImage();
        QCOMPARE(shown.pixelColor(55, 35), QColor(10, 200, 30));

        panel.setSkinPicture(QStringLiteral("button_accent_normal"));
        panel.show();
        QCOMPARE(panel.picture().size(), QSize(60, 40));
        panel.resize(90, 50);
        QCOMPARE(panel.picture().size(), QSize(90, 50));
    }
};

QTEST_MAIN(FormTest)
#include "sui_form_test.moc"
