// Numbered texts of this program beyond the classic table (ui_text_table.h):
// questions, hints and notices the windows show on Linux. They are looked
// up and translated like the others ([Text] in a language file), from
// number 1000 on so the classic numbers stay free.
#pragma once

namespace vt::common {

inline constexpr int kFirstExtraText = 1000;
inline constexpr int kDiscardClipsText = 1000;
inline constexpr int kEmptyClipListText = 1001;
inline constexpr int kNoOpenerText = 1002;
inline constexpr int kFillInText = 1003;
inline constexpr int kStartLimitText = 1004;
inline constexpr int kFinishedBeforeStopText = 1005;
inline constexpr int kOkButtonText = 1006;  // 1006 … 1009: the message box buttons
inline constexpr int kCancelButtonText = 1007;
inline constexpr int kYesButtonText = 1008;
inline constexpr int kNoButtonText = 1009;
inline constexpr int kDiscSizeText = 1010;  // "%1 MB of %2 MB": estimate and disc capacity
inline constexpr int kMessageCloseHintText = 1011;  // the message boxes' title bar ×
// The locale of the standard file and folder dialogs ("de", "fr_CA"); Qt's
// own translations for it are used when they are installed.
inline constexpr int kDialogLocaleText = 1012;

// The built-in English text with that number, or nullptr.
const char *ExtraUIText(int number);

} // namespace vt::common
