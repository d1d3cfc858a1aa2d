#include "app/shell/start_form.h"

#include "app/widgets/skin.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QThread>

namespace {

constexpr int kFadeInStep = 10, kFadeInPauseMs = 20;
constexpr int kFadeOutStep = 5, kFadeOutPauseMs = 10;

// The screenless platforms (tests, headless runs) have no window opacity
// and would complain at every step.
bool platformHasWindowOpacity()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

TStartForm::TStartForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , picture_(new QLabel(this))
{
    setObjectName(QStringLiteral("StartForm"));
    setFixedSize(kWidth, kHeight);
    picture_->setGeometry(0, 0, kWidth, kHeight);
    picture_->setPixmap(vt::Skin::current().picture(QStringLiteral("splash"), size(), vt::Skin::Fit::Scale,
                                                     devicePixelRatioF()));
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (platformHasWindowOpacity())
        setWindowOpacity(0.0);
}

void TStartForm::FadeSplash()
{
    if (fadeIn_) {
        while (opacity_ < 255) {
            const int next = opacity_ + kFadeInStep;
            if (next > 255) {
                applyOpacity(255);
                fadeIn_ = false;
                return;
            }
            applyOpacity(next);
            pause(kFadeInPauseMs);
        }
        // Already fully shown: the next call fades out.
        fadeIn_ = false;
        return;
    }
    while (opacity_ > 0) {
        const int next = opacity_ - kFadeOutStep;
        if (next < 0) {
            applyOpacity(0);
            return;
        }
        applyOpacity(next);
        pause(kFadeOutPauseMs);
    }
}

void TStartForm::applyOpacity(int opacity)
{
    opacity_ = opacity;
    if (platformHasWindowOpacity())
        setWindowOpacity(opacity / 255.0);
    emit opacityApplied(opacity);
}

void TStartForm::pause(int milliseconds)
{
    QThread::msleep(milliseconds);
    QCoreApplication::processEvents();
}
