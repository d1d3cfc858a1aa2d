// A drop-down list drawn by the skin.
#pragma once

#include <QComboBox>

class TsuiComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TsuiComboBox(QWidget *parent = nullptr);
};
