// A progress bar drawn by the skin; shows the percentage in its centre.
#pragma once

#include <QProgressBar>

class TsuiProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit TsuiProgressBar(QWidget *parent = nullptr);
};
