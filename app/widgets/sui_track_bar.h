// A horizontal track bar drawn by the skin.
#pragma once

#include <QSlider>

class TsuiTrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TsuiTrackBar(QWidget *parent = nullptr);
};
