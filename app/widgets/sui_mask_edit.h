// A one-line text box with an edit mask (Qt input-mask syntax); the time
// boxes use it with the "HH:MM:SS" time mask.
#pragma once

#include "app/widgets/sui_edit.h"

class TsuiMaskEdit : public TsuiEdit {
    Q_OBJECT

public:
    // Hours: an optional and a required digit; minutes and seconds: two
    // required digits each; '_' marks an empty position.
    static const QString kTimeMask;

    explicit TsuiMaskEdit(QWidget *parent = nullptr);

    void setEditMask(const QString &mask) { setInputMask(mask); }
    QString editMask() const { return inputMask(); }

    // Makes this a time box: kTimeMask, and minutes and seconds whose tens
    // digit is above 5 are refused as they are typed.
    void setTimeMask();

    // The value of a time box in seconds: each of the six digit positions
    // read as one decimal digit, an empty position as 0.
    int timeSeconds() const;
    // Shows seconds as "HH:MM:SS" (limited to 0 … 99:59:59).
    void setTimeSeconds(int seconds);
    // Empties every digit position ("  :  :  ").
    void clearTime();
};
