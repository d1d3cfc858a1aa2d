// A push button with a caption, drawn by the skin.
#pragma once

#include <QPushButton>

class TsuiButton : public QPushButton {
    Q_OBJECT

public:
    explicit TsuiButton(QWidget *parent = nullptr);
};
