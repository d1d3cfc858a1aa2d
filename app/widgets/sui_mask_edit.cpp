#include "app/widgets/sui_mask_edit.h"

#include <QRegularExpressionValidator>

#include <algorithm>

const QString TsuiMaskEdit::kTimeMask = QStringLiteral("09:99:99;_");

TsuiMaskEdit::TsuiMaskEdit(QWidget *parent)
    : TsuiEdit(parent)
{
}

void TsuiMaskEdit::setTimeMask()
{
    setInputMask(kTimeMask);
    // The validator sees empty positions as the mask's blank character.
    static const QRegularExpression time(QStringLiteral("[0-9 _]{2}:[0-5 _][0-9 _]:[0-5 _][0-9 _]"));
    setValidator(new QRegularExpressionValidator(time, this));
}

int TsuiMaskEdit::timeSeconds() const
{
    static const int weights[] = {36000, 3600, 600, 60, 10, 1};
    int seconds = 0;
    int position = 0;
    for (QChar c : displayText()) {
        if (c == QLatin1Char(':'))
            continue;
        if (position == 6)
            break;
        if (c.isDigit())
            seconds += c.digitValue() * weights[position];
        ++position;
    }
    return seconds;
}

void TsuiMaskEdit::setTimeSeconds(int seconds)
{
    seconds = std::clamp(seconds, 0, 99 * 3600 + 59 * 60 + 59);
    setText(QStringLiteral("%1:%2:%3")
                .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                .arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

void TsuiMaskEdit::clearTime()
{
    setText(QStringLiteral("  :  :  "));
}
