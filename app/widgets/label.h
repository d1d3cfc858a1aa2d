// A plain text label of a window. Its own class, so that localisation can
// tell a window's labels from other label-like controls (link labels).
#pragma once

#include <QLabel>

class TLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLabel(QWidget *parent = nullptr);
};
