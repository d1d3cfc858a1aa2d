// A push button with a caption, drawn by the skin; a UI language file
// replaces the caption.
#pragma once

#include <QPushButton>

class TsuiButton : public QPushButton {
    Q_OBJECT

public:
    explicit TsuiButton(QWidget *parent = nullptr);
};
