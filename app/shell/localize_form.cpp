#include "app/shell/localize_form.h"

#include "app/common/ui_language.h"
#include "app/widgets/localized_texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace vt::shell {

namespace {

void setCaption(QWidget *control, const QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(caption);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(caption);
}

} // namespace

void LocalizeForm(QWidget *window, const UiLanguage &language)
{
    const std::string section = window->objectName().toStdString();
    // findChildren lists the controls in the order they were created.
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const std::string name = control->objectName().toStdString();
        if (name.empty())
            continue;
        switch (localizedTextsOf(control)) {
        case LocalizedTexts::Caption: {
            const CaptionTexts texts = language.captionTexts(section, name);
            if (!texts.hasCaption)
                break;
            setCaption(control, QString::fromStdString(texts.caption));
            QFont font = control->font();
            font.setFamily(QString::fromStdString(texts.fontName));
            font.setPointSize(texts.fontSize);
            control->setFont(font);
            break;
        }
        case LocalizedTexts::Hint:
            control->setToolTip(QString::fromStdString(language.hintText(section, name)));
            break;
        case LocalizedTexts::None:
            break;
        }
    }
}

void ApplyUILanguage(const std::vector<QWidget *> &windows, const UiLanguage &language)
{
    for (QWidget *window : windows) {
        if (auto *own = dynamic_cast<LocalizedWindow *>(window))
            own->localize(language);
        else
            LocalizeForm(window, language);
    }
}

} // namespace vt::shell
