#include "app/widgets/label.h"

TLabel::TLabel(QWidget *parent)
    : QLabel(parent)
{
}
