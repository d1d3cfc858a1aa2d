// Two check boxes that act as one choice: clicking either box sets the
// other to the opposite state (unlike a radio group, clicking the checked
// box unchecks it and checks its partner).
#pragma once

#include "app/widgets/sui_check_box.h"

#include <QObject>

namespace vt {

class ExclusivePair : public QObject {
    Q_OBJECT

public:
    // Wires the two boxes; the pair is owned by the first box. When
    // neither or both are checked now, the first one becomes the choice.
    ExclusivePair(TsuiCheckBox *first, TsuiCheckBox *second);

    TsuiCheckBox *first() const { return first_; }
    TsuiCheckBox *second() const { return second_; }

    // Checks box (one of the pair) and unchecks its partner, as the small
    // picture button beside each box does.
    void choose(TsuiCheckBox *box);
    // True when the first box is the one checked.
    bool firstChosen() const;
    // Checks the first box when firstChosen is true, else the second.
    void setFirstChosen(bool firstChosen);

signals:
    // The choice changed through a click or choose().
    void chosen(TsuiCheckBox *box);

private:
    void onClicked(TsuiCheckBox *clicked);

    TsuiCheckBox *first_;
    TsuiCheckBox *second_;
};

} // namespace vt
