// A captioned group frame drawn by the skin.
#pragma once

#include <QGroupBox>

class TsuiGroupBox : public QGroupBox {
    Q_OBJECT

public:
    explicit TsuiGroupBox(QWidget *parent = nullptr);
};
