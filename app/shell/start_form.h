// The splash window shown while the program's windows are created: a
// borderless picture that fades in before and fades out after.
#pragma once

#include <QWidget>

class QLabel;

class TStartForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 446;
    static constexpr int kHeight = 243;

    explicit TStartForm(QWidget *parent = nullptr);

    // One call fades in (the first time) or out (afterwards); it blocks
    // while fading and keeps the message loop running.
    void FadeSplash();

    int opacity() const { return opacity_; }
    bool fadeInPending() const { return fadeIn_; }

signals:
    // Each opacity the window is given, 0 … 255.
    void opacityApplied(int opacity);

private:
    void applyOpacity(int opacity);
    void pause(int milliseconds);

    QLabel *picture_;
    int opacity_ = 0;
    bool fadeIn_ = true;
};
