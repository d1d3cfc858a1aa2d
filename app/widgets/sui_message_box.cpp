#include "app/widgets/sui_message_box.h"

#include "app/widgets/skin.h"
#include "app/widgets/sui_button.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_title_bar.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kIconSize = 32;
// Between the icon and the message.
constexpr int kIconGap = 14;
constexpr int kMinTextWidth = 200;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 28;
constexpr int kMargin = 16;
// Room above the first line for accents of capitals (Ö).
constexpr int kTextMargin = 2;
// At most this share of the screen's height goes to the message; the rest
// scrolls.
constexpr double kMaxTextShareOfScreen = 0.6;

} // namespace

namespace vt {

namespace {

MessageButtonTexts &buttonTexts()
{
    static MessageButtonTexts texts;
    return texts;
}

QString iconPictureName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning: return QStringLiteral("message_warning");
    case MessageIcon::Error: return QStringLiteral("message_error");
    case MessageIcon::Question: return QStringLiteral("message_question");
    case MessageIcon::Information: break;
    }
    return QStringLiteral("message_information");
}

QString buttonName(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes: return QStringLiteral("yesButton");
    case MessageAnswer::No: return QStringLiteral("noButton");
    case MessageAnswer::Cancel: return QStringLiteral("cancelButton");
    case MessageAnswer::Ok: break;
    }
    return QStringLiteral("okButton");
}

QRect availableScreenFor(const QWidget *anchor)
{
    QScreen *screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void setMessageButtonTexts(const MessageButtonTexts &texts)
{
    buttonTexts() = texts;
}

const MessageButtonTexts &messageButtonTexts()
{
    return buttonTexts();
}

QRect messageBoxGeometry(const QRect &parentWindow, QSize boxSize, const QRect &screen)
{
    const QRect around = parentWindow.isValid() ? parentWindow : screen;
    QRect box(QPoint(0, 0), boxSize);
    box.moveCenter(around.center());
    if (!screen.isValid())
        return box;
    // Right and bottom first, so a box larger than the screen keeps its
    // title bar and left edge visible.
    if (box.right() > screen.right())
        box.moveRight(screen.right());
    if (box.bottom() > screen.bottom())
        box.moveBottom(screen.bottom());
    if (box.left() < screen.left())
        box.moveLeft(screen.left());
    if (box.top() < screen.top())
        box.moveTop(screen.top());
    return box;
}

} // namespace vt

TsuiMessageBox::TsuiMessageBox(QWidget *parent, const QString &caption, const QString &text, vt::MessageIcon icon,
                               vt::MessageButtons buttons)
    : TsuiForm(parent)
    , buttons_(buttons)
    , answer_(escapeAnswer())
    , icon_(new QLabel(client()))
    , text_(new QTextEdit(client()))
    , buttonRow_(new QWidget(client()))
{
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption);
    setModal(true);
    titleBar()->minimizeButton()->hide();

    icon_->setObjectName(QStringLiteral("messageIcon"));
    icon_->setFixedSize(kIconSize, kIconSize);
    icon_->setPixmap(vt::Skin::current().picture(vt::iconPictureName(icon), QSize(kIconSize, kIconSize),
                                                 vt::Skin::Fit::Scale, devicePixelRatioF()));

    text_->setObjectName(QStringLiteral("messageText"));
    text_->setPlainText(text);
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Long paths and addresses break anywhere rather than run off the box.
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setStyleSheet(QStringLiteral("QTextEdit { background: transparent; border: none; padding: 0px; }"));
    text_->viewport()->setAutoFillBackground(false);
    text_->document()->setDocumentMargin(kTextMargin);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes round the buttons; a click still selects text to copy.
    text_->setFocusPolicy(Qt::ClickFocus);

    const vt::MessageButtonTexts &captions = vt::messageButtonTexts();
    titleBar()->closeButton()->setToolTip(captions.closeHint);
    switch (buttons) {
    case vt::MessageButtons::Ok:
        addButton(vt::MessageAnswer::Ok, captions.ok, true);
        break;
    case vt::MessageButtons::YesNo:
        addButton(vt::MessageAnswer::Yes, captions.yes, true);
        addButton(vt::MessageAnswer::No, captions.no, false);
        break;
    case vt::MessageButtons::YesNoDefaultNo:
        addButton(vt::MessageAnswer::Yes, captions.yes, false);
        addButton(vt::MessageAnswer::No, captions.no, true);
        break;
    case vt::MessageButtons::OkCancel:
        addButton(vt::MessageAnswer::Ok, captions.ok, true);
        addButton(vt::MessageAnswer::Cancel, captions.cancel, false);
        break;
    }

    auto *buttonLayout = new QHBoxLayout(buttonRow_);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(8);
    buttonLayout->addStretch(1);
    for (const auto &[answer, button] : answerButtons_)
        buttonLayout->addWidget(button);

    auto *message = new QHBoxLayout;
    message->setSpacing(kIconGap);
    message->addWidget(icon_, 0, Qt::AlignTop);
    message->addWidget(text_, 1);

    auto *layout = new QVBoxLayout(client());
    layout->setContentsMargins(kMargin, kMargin + 2, kMargin, kMargin - 4);
    layout->setSpacing(kMargin);
    layout->addLayout(message);
    layout->addWidget(buttonRow_);

    fitText();
    defaultButton()->setFocus();
}

void TsuiMessageBox::addButton(vt::MessageAnswer answer, const QString &caption, bool isDefault)
{
    auto *button = new TsuiButton(buttonRow_);
    button->setObjectName(vt::buttonName(answer));
    button->setText(caption);
    // Enter presses the button that has the focus, else the default one.
    button->setAutoDefault(true);
    button->setDefault(isDefault);
    button->setMinimumSize(std::max(kButtonWidth, button->sizeHint().width()), kButtonHeight);
    connect(button, &QAbstractButton::clicked, this, [this, answer] {
        answer_ = answer;
        accept();
    });
    answerButtons_.emplace_back(answer, button);
}

void TsuiMessageBox::fitText()
{
    // Measured on a copy laid out at the width chosen: the edit's own
    // document follows the edit's current (not yet final) size.
    text_->ensurePolished();
    QTextDocument measure;
    measure.setDefaultFont(text_->font());
    measure.setDocumentMargin(kTextMargin);
    QTextOption wrapping = measure.defaultTextOption();
    wrapping.setWrapMode(text_->wordWrapMode());
    measure.setDefaultTextOption(wrapping);
    measure.setPlainText(text_->toPlainText());
    const int naturalWidth = int(std::ceil(measure.idealWidth())) + 2 * kTextMargin;
    const int buttonsWidth = buttonRow_->sizeHint().width() - kIconSize - kIconGap;
    const int width = std::clamp(std::max(naturalWidth, buttonsWidth), kMinTextWidth, kMaxTextWidth);
    measure.setTextWidth(width);
    const int height = int(std::ceil(measure.size().height()));

    const QRect screen = vt::availableScreenFor(parentWidget());
    const int maxHeight = screen.isValid() ? int(screen.height() * kMaxTextShareOfScreen) : 600;
    if (height <= maxHeight) {
        text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text_->setFixedSize(width, std::max(height, kIconSize));
        return;
    }
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setFixedSize(width + text_->verticalScrollBar()->sizeHint().width(), maxHeight);
}

vt::MessageAnswer TsuiMessageBox::escapeAnswer() const
{
    switch (buttons_) {
    case vt::MessageButtons::YesNo:
    case vt::MessageButtons::YesNoDefaultNo: return vt::MessageAnswer::No;
    case vt::MessageButtons::OkCancel: return vt::MessageAnswer::Cancel;
    case vt::MessageButtons::Ok: break;
    }
    return vt::MessageAnswer::Ok;
}

QPushButton *TsuiMessageBox::button(vt::MessageAnswer answer) const
{
    for (const auto &[buttonAnswer, button] : answerButtons_)
        if (buttonAnswer == answer)
            return button;
    return nullptr;
}

QPushButton *TsuiMessageBox::defaultButton() const
{
    for (const auto &[answer, button] : answerButtons_)
        if (button->isDefault())
            return button;
    return answerButtons_.front().second;
}

QString TsuiMessageBox::text() const
{
    return text_->toPlainText();
}

void TsuiMessageBox::reject()
{
    answer_ = escapeAnswer();
    TsuiForm::reject();
}

void TsuiMessageBox::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    QWidget *anchor = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (anchor == this)
        anchor = nullptr;
    const QRect parentWindow = anchor && anchor->isVisible() ? anchor->frameGeometry() : QRect();
    setGeometry(vt::messageBoxGeometry(parentWindow, size(), vt::availableScreenFor(anchor ? anchor : this)));
    defaultButton()->setFocus();
}
