// A check box drawn by the skin. Exclusive pairs: see exclusive_pair.h.
#pragma once

#include <QCheckBox>

class TsuiCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit TsuiCheckBox(QWidget *parent = nullptr);
};
