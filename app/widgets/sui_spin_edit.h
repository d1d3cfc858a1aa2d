// A number box with up and down buttons, drawn by the skin.
#pragma once

#include <QSpinBox>

class TsuiSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    explicit TsuiSpinEdit(QWidget *parent = nullptr);
};
