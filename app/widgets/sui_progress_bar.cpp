#include "app/widgets/sui_progress_bar.h"

TsuiProgressBar::TsuiProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
    setAlignment(Qt::AlignCenter);
}
