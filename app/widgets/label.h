// A plain text label of a window: its caption is localised (link labels
// and other label-like controls keep theirs).
#pragma once

#include <QLabel>

class TLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLabel(QWidget *parent = nullptr);
};
