#include "app/widgets/localized_texts.h"

#include <QVariant>
#include <QWidget>

namespace vt {

namespace {

constexpr const char *kLocalizedTextsProperty = "localizedTexts";

} // namespace

void setLocalizedTexts(QWidget *control, LocalizedTexts texts)
{
    control->setProperty(kLocalizedTextsProperty, static_cast<int>(texts));
}

LocalizedTexts localizedTextsOf(const QWidget *control)
{
    const QVariant value = control->property(kLocalizedTextsProperty);
    switch (value.isValid() ? value.toInt() : -1) {
    case static_cast<int>(LocalizedTexts::Caption):
        return LocalizedTexts::Caption;
    case static_cast<int>(LocalizedTexts::Hint):
        return LocalizedTexts::Hint;
    case static_cast<int>(LocalizedTexts::CaptionAndHint):
        return LocalizedTexts::CaptionAndHint;
    default:
        return LocalizedTexts::None;
    }
}

} // namespace vt
