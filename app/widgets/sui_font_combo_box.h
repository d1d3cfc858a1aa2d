// A drop-down list of the installed scalable fonts.
#pragma once

#include <QFontComboBox>

class TsuiFontComboBox : public QFontComboBox {
    Q_OBJECT

public:
    explicit TsuiFontComboBox(QWidget *parent = nullptr);
};
