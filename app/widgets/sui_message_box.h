// A message box in the skin: the program's title bar, the icon drawn by the
// skin, the message (word-wrapped, selectable, scrolled when it does not
// fit the screen) and the buttons of the question, in the UI language.
// Shown modal over its parent and centred on it.
#pragma once

#include "app/widgets/dialog_service.h"
#include "app/widgets/sui_form.h"

#include <QRect>

#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTextEdit;

namespace vt {

// The captions of the message box buttons; English until the UI language
// sets its own.
struct MessageButtonTexts {
    QString ok = QStringLiteral("OK");
    QString cancel = QStringLiteral("Cancel");
    QString yes = QStringLiteral("Yes");
    QString no = QStringLiteral("No");
    QString closeHint = QStringLiteral("Close");  // the title bar's ×
};

void setMessageButtonTexts(const MessageButtonTexts &texts);
const MessageButtonTexts &messageButtonTexts();

// Where a box of that size goes: centred on the parent window (or on the
// screen without one) and moved inside the screen's free area.
QRect messageBoxGeometry(const QRect &parentWindow, QSize boxSize, const QRect &screen);

} // namespace vt

class TsuiMessageBox : public TsuiForm {
    Q_OBJECT

public:
    // The widest the message runs before it wraps, in pixels.
    static constexpr int kMaxTextWidth = 440;

    TsuiMessageBox(QWidget *parent, const QString &caption, const QString &text, vt::MessageIcon icon,
                   vt::MessageButtons buttons);

    // The answer given: the button pressed, or the Escape answer when the
    // box was closed by Escape or its close button.
    vt::MessageAnswer answer() const { return answer_; }
    // The answer of Escape and the title bar's close button: No or Cancel
    // for a question, OK for a plain message.
    vt::MessageAnswer escapeAnswer() const;

    // The button of that answer, or nullptr when the box has none.
    QPushButton *button(vt::MessageAnswer answer) const;
    // The button Enter presses.
    QPushButton *defaultButton() const;
    QTextEdit *messageText() const { return text_; }
    QLabel *iconLabel() const { return icon_; }
    QString text() const;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addButton(vt::MessageAnswer answer, const QString &caption, bool isDefault);
    void fitText();

    vt::MessageButtons buttons_;
    vt::MessageAnswer answer_;
    QLabel *icon_;
    QTextEdit *text_;
    QWidget *buttonRow_;
    std::vector<std::pair<vt::MessageAnswer, QPushButton *>> answerButtons_;
};
