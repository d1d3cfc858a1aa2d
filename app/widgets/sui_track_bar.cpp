#include "app/widgets/sui_track_bar.h"

TsuiTrackBar::TsuiTrackBar(QWidget *parent)
    : QSlider(parent)
{
    setOrientation(Qt::Horizontal);
}
