// Names for the numbers of the UI texts the program looks up (GetUIText,
// ui_language.h; the built-in texts are in ui_text_table.cpp).
#pragma once

namespace vt::common {

inline constexpr int kVideoSizeText = 0;
inline constexpr int kVideoBitrateText = 1;
inline constexpr int kFrameRateText = 2;
inline constexpr int kClipNameText = 3;
inline constexpr int kSubtitleFileText = 4;
inline constexpr int kNoSubtitleFileText = 5;
inline constexpr int kAudioBitrateText = 6;
inline constexpr int kSampleRateText = 7;
inline constexpr int kStartTimeText = 8;
inline constexpr int kEndTimeText = 9;
inline constexpr int kAddSubtitleText = 10;
inline constexpr int kSetupSubtitleText = 11;
inline constexpr int kSubtitleSampleText = 25;
inline constexpr int kMaxChaptersText = 27;
inline constexpr int kChapterTimeOutsideText = 28;
inline constexpr int kSameChapterTimeText = 29;
inline constexpr int kFirstChapterText = 30;
inline constexpr int kSeparatorText = 34;
inline constexpr int kMoveUpText = 37;
inline constexpr int kMoveToTopText = 38;
inline constexpr int kMoveDownText = 39;
inline constexpr int kMoveToBottomText = 40;
inline constexpr int kAddClipsText = 41;
inline constexpr int kRemoveSelectedText = 42;
inline constexpr int kCreatingMenuImageText = 49;
inline constexpr int kAddingClipsText = 50;
inline constexpr int kStopQuestionText = 57;
inline constexpr int kUnsupportText = 58;
inline constexpr int kCannotCreateBurnText = 59;
inline constexpr int kUnknownDeviceText = 60;
inline constexpr int kUnsupportedDiscText = 61;
inline constexpr int kNoDvdFolderToBurnText = 62;
inline constexpr int kDiscTooSmallText = 63;
inline constexpr int kCannotStopText = 64;
inline constexpr int kStopFirstText = 65;
inline constexpr int kBrowseCaptionText = 67;
inline constexpr int kNoFileText = 74;
inline constexpr int kNoWritableDeviceText = 75;
inline constexpr int kNoBlankDiscText = 76;
inline constexpr int kDataPreparationText = 77;
inline constexpr int kStartConvertText = 78;
inline constexpr int kStartSubtitleText = 79;
inline constexpr int kStartTitleSourceText = 80;
inline constexpr int kStartTitleDestinationText = 81;
inline constexpr int kStartChapterSourceText = 82;
inline constexpr int kStartChapterDestinationText = 83;
inline constexpr int kStartAuthorFileText = 84;
inline constexpr int kStartAuthorFolderText = 85;
inline constexpr int kCheckDiscText = 86;
inline constexpr int kGetSourceSizeText = 87;
inline constexpr int kStartBurnText = 88;
inline constexpr int kFirstRunOutcomeText = 89;  // 89 … 106: the run outcomes, user abort first (run_outcome.h)
inline constexpr int kInsertedMediaText = 107;
inline constexpr int kStartEraseText = 108;
inline constexpr int kEraseFinishLogText = 109;
inline constexpr int kCannotEraseText = 110;
inline constexpr int kStartPadText = 112;
inline constexpr int kPadFinishText = 113;
inline constexpr int kBurnFinishText = 114;
inline constexpr int kFixVobText = 115;
inline constexpr int kFirstGridHeaderText = 116;  // 116 … 119: file name, format, size, duration
inline constexpr int kClearText = 120;
inline constexpr int kNtscClipsText = 121;
inline constexpr int kPalClipsText = 122;
inline constexpr int kNoVobToAuthorText = 123;
inline constexpr int kNoDvdFolderSelectedText = 124;
inline constexpr int kUnsupportedText = 125;
inline constexpr int kErasingNowText = 134;
inline constexpr int kEraseQuestionText = 135;
inline constexpr int kEraseFinishText = 136;
inline constexpr int kDvd5LimitText = 137;
inline constexpr int kDvd9LimitText = 138;
inline constexpr int kDeleteFirstChapterText = 139;
inline constexpr int kHelpText = 140;
inline constexpr int kAboutText = 141;
inline constexpr int kFirstQualityText = 145;  // 145..147: the three output qualities
inline constexpr int kAddOkText = 148;
inline constexpr int kStartMenuMusicText = 152;
inline constexpr int kBurnToDiscCaptionText = 153;
inline constexpr int kFirstDescriptionText = 154;  // 154 … 157: builder, converter, compiler, burner

} // namespace vt::common
