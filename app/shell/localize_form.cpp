#include "app/shell/localize_form.h"

#include "app/common/extra_ui_texts.h"
#include "app/common/ui_language.h"
#include "app/shell/standard_dialog_language.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/sui_message_box.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>

namespace vt::shell {

namespace {

// What a control showed before any language was put on it, and what the
// last language put there: a language that does not define a text gives
// back the designed one, but only where a language had replaced it (texts
// the window itself changed since stay as they are).
constexpr const char *kDesignedCaption = "vtDesignedCaption";
constexpr const char *kDesignedFont = "vtDesignedFont";  // invalid: the font was inherited
constexpr const char *kAppliedCaption = "vtAppliedCaption";
constexpr const char *kDesignedHint = "vtDesignedHint";
constexpr const char *kAppliedHint = "vtAppliedHint";

QString captionOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return control->isWindow() ? control->windowTitle() : QString();
}

void setCaption(QWidget *control, const QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(caption);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(caption);
    else if (control->isWindow())
        control->setWindowTitle(caption);
}

void rememberDesigned(QWidget *control)
{
    if (control->property(kDesignedCaption).isValid())
        return;
    control->setProperty(kDesignedCaption, captionOf(control));
    control->setProperty(kDesignedFont, control->testAttribute(Qt::WA_SetFont) ? QVariant(control->font()) : QVariant());
    control->setProperty(kDesignedHint, control->toolTip());
}

// withFont: captions of labels, group boxes and boxes come with their font;
// the captions of picture buttons and window titles keep the skin's.
void localizeCaption(QWidget *control, const common::CaptionTexts &texts, bool withFont)
{
    if (texts.hasCaption) {
        const QString caption = QString::fromStdString(texts.caption);
        setCaption(control, caption);
        if (withFont) {
            QFont font = control->font();
            font.setFamily(QString::fromStdString(texts.fontName));
            font.setPointSize(texts.fontSize);
            control->setFont(font);
        }
        control->setProperty(kAppliedCaption, caption);
        return;
    }
    const QVariant applied = control->property(kAppliedCaption);
    if (!applied.isValid())
        return;
    if (captionOf(control) == applied.toString()) {
        setCaption(control, control->property(kDesignedCaption).toString());
        const QVariant font = control->property(kDesignedFont);
        control->setFont(font.isValid() ? font.value<QFont>() : QFont());
    }
    control->setProperty(kAppliedCaption, QVariant());
}

void localizeHint(QWidget *control, const common::UiLanguage &language, const std::string &section, const std::string &name)
{
    if (language.hasHint(section, name)) {
        const QString hint = QString::fromStdString(language.hintText(section, name));
        control->setToolTip(hint);
        control->setProperty(kAppliedHint, hint);
        return;
    }
    const QVariant applied = control->property(kAppliedHint);
    if (!applied.isValid())
        return;
    if (control->toolTip() == applied.toString())
        control->setToolTip(control->property(kDesignedHint).toString());
    control->setProperty(kAppliedHint, QVariant());
}

} // namespace

void LocalizeForm(QWidget *window, const common::UiLanguage &language)
{
    const std::string section = window->objectName().toStdString();
    // The window's own title is its caption in its section.
    rememberDesigned(window);
    localizeCaption(window, language.captionTexts(section, section), false);
    // findChildren lists the controls in the order they were created.
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const std::string name = control->objectName().toStdString();
        if (name.empty())
            continue;
        const LocalizedTexts texts = localizedTextsOf(control);
        if (texts == LocalizedTexts::None)
            continue;
        rememberDesigned(control);
        if (texts == LocalizedTexts::Caption)
            localizeCaption(control, language.captionTexts(section, name), true);
        if (texts == LocalizedTexts::CaptionAndHint && !captionOf(control).isEmpty())
            localizeCaption(control, language.captionTexts(section, name), false);
        if (texts != LocalizedTexts::Caption)
            localizeHint(control, language, section, name);
    }
}

void ApplyUILanguage(const std::vector<QWidget *> &windows, const common::UiLanguage &language)
{
    const auto text = [&language](int number) { return QString::fromStdString(language.GetUIText(number)); };
    MessageButtonTexts buttons;
    buttons.ok = text(common::kOkButtonText);
    buttons.cancel = text(common::kCancelButtonText);
    buttons.yes = text(common::kYesButtonText);
    buttons.no = text(common::kNoButtonText);
    buttons.closeHint = text(common::kMessageCloseHintText);
    setMessageButtonTexts(buttons);
    UseStandardDialogLanguage(text(common::kDialogLocaleText));
    for (QWidget *window : windows) {
        if (auto *own = dynamic_cast<LocalizedWindow *>(window))
            own->localize(language);
        else
            LocalizeForm(window, language);
    }
}

} // namespace vt::shell
