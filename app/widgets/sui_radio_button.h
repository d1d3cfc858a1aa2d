// A radio button drawn by the skin.
#pragma once

#include <QRadioButton>

class TsuiRadioButton : public QRadioButton {
    Q_OBJECT

public:
    explicit TsuiRadioButton(QWidget *parent = nullptr);
};
