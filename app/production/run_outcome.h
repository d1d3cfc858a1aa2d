// How a production run ends: outcome codes 0 to 17 and their log lines.
#pragma once

#include <string>

namespace vt::common {
class UiLanguage;
}

namespace vt::production {

enum RunOutcome {
    kOutcomeNone = -1,  // back to idle without a log line
    kUserAbort = 0,
    kProcessFinish = 1,
    kConversionParameterWrong = 2,
    kConversionProcessWrong = 3,
    kMuxParameterWrong = 4,
    kMuxProcessWrong = 5,
    kTitleMenuParameterWrong = 6,
    kTitleMenuConversionWrong = 7,
    kTitleMenuMuxWrong = 8,
    kChapterParameterWrong = 9,
    kChapterMenuConversionWrong = 10,
    kChapterMenuMuxWrong = 11,
    kAuthorParameterWrong = 12,
    kAuthorProcessWrong = 13,
    kAuthorCannotStart = 14,
    kConversionCannotStart = 15,
    kUserCancelsBurning = 16,
    kBurningProcessWrong = 17,
};

// "<<< Process finish" and the others (texts 89 to 106); "" outside 0..17.
std::string RunOutcomeText(const common::UiLanguage &language, int outcome);

} // namespace vt::production
