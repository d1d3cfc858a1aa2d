#include "app/widgets/exclusive_pair.h"

namespace vt {

ExclusivePair::ExclusivePair(TsuiCheckBox *first, TsuiCheckBox *second)
    : QObject(first)
    , first_(first)
    , second_(second)
{
    if (first_->isChecked() == second_->isChecked())
        setFirstChosen(true);
    connect(first_, &QCheckBox::clicked, this, [this] { onClicked(first_); });
    connect(second_, &QCheckBox::clicked, this, [this] { onClicked(second_); });
}

void ExclusivePair::onClicked(TsuiCheckBox *clicked)
{
    TsuiCheckBox *partner = clicked == first_ ? second_ : first_;
    partner->setChecked(!clicked->isChecked());
    emit chosen(clicked->isChecked() ? clicked : partner);
}

void ExclusivePair::choose(TsuiCheckBox *box)
{
    if (box != first_ && box != second_)
        return;
    setFirstChosen(box == first_);
    emit chosen(box);
}

bool ExclusivePair::firstChosen() const
{
    return first_->isChecked();
}

void ExclusivePair::setFirstChosen(bool firstChosen)
{
    first_->setChecked(firstChosen);
    second_->setChecked(!firstChosen);
}

} // namespace vt
