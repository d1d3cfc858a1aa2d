// Names for the numbers of the UI texts the burn windows and the burn step
// look up (the built-in texts are in app/shell/ui_text_table.cpp).
#pragma once

namespace vt::burn {

inline constexpr int kRemoveSelectText = 42;
inline constexpr int kAddingClipsText = 50;
inline constexpr int kUnsupportText = 58;
inline constexpr int kCannotCreateBurnText = 59;
inline constexpr int kUnknownDeviceText = 60;
inline constexpr int kUnsupportedDiscText = 61;
inline constexpr int kNoDvdFolderToBurnText = 62;
inline constexpr int kDiscTooSmallText = 63;
inline constexpr int kNoWritableDeviceText = 75;
inline constexpr int kNoBlankDiscText = 76;
inline constexpr int kCheckDiscText = 86;
inline constexpr int kGetSourceSizeText = 87;
inline constexpr int kStartBurnText = 88;
inline constexpr int kInsertedMediaText = 107;
inline constexpr int kStartEraseText = 108;
inline constexpr int kEraseFinishLogText = 109;
inline constexpr int kCannotEraseText = 110;
inline constexpr int kStartPadText = 112;
inline constexpr int kPadFinishText = 113;
inline constexpr int kBurnFinishText = 114;
inline constexpr int kFirstGridHeaderText = 116;  // 116 … 119: file name, format, size, duration
inline constexpr int kClearText = 120;
inline constexpr int kNoVobToAuthorText = 123;
inline constexpr int kNoDvdFolderSelectedText = 124;
inline constexpr int kErasingNowText = 134;
inline constexpr int kEraseQuestionText = 135;
inline constexpr int kEraseFinishText = 136;
inline constexpr int kBurnToDiscCaptionText = 153;

} // namespace vt::burn
