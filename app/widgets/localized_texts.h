// Which of a control's texts a UI language file replaces. The controls of
// the widget set that carry such texts say so themselves, as a dynamic
// property set at construction; other controls (link labels, edits, lists)
// carry none and keep their texts.
#pragma once

class QWidget;

namespace vt {

enum class LocalizedTexts {
    None,
    Caption,  // caption with its font name and size
    Hint,     // tool tip
    CaptionAndHint,  // a picture button: tool tip, and the caption drawn over it when it has one
};

void setLocalizedTexts(QWidget *control, LocalizedTexts texts);
LocalizedTexts localizedTextsOf(const QWidget *control);

} // namespace vt
