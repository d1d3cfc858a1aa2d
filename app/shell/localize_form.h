// Putting a UI language on the windows: LocalizeForm changes the captions
// and hints of one window's controls, ApplyUILanguage localises every
// window of the program in its fixed order.
#pragma once

#include <QWidget>

#include <vector>

namespace vt::common {
class UiLanguage;
}

namespace vt::shell {

// Captions and hints of the window's controls, as each control's
// localizedTexts says (localized_texts.h); the window's objectName is its
// section in the language file, and "<window name>-Caption" its title.
// Captions of labels, group boxes and boxes take the file's font with them;
// picture buttons and titles keep the skin's. A text the file does not
// define shows what the window was designed with again, where an earlier
// language had replaced it.
void LocalizeForm(QWidget *window, const common::UiLanguage &language);

// A window that does more than LocalizeForm when the language changes
// (reloads texts of its own).
class LocalizedWindow {
public:
    virtual ~LocalizedWindow() = default;
    virtual void localize(const common::UiLanguage &language) = 0;
};

// Localises the windows in the order given (the home window first): a
// LocalizedWindow localises itself, any other window gets LocalizeForm.
// The message boxes take the language's button captions.
void ApplyUILanguage(const std::vector<QWidget *> &windows, const common::UiLanguage &language);

} // namespace vt::shell
