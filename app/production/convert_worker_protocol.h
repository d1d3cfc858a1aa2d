// What vantorel-convert-worker and the conversion step say to each other:
// the worker's program name and the first word of each line it writes.
#pragma once

#include <chrono>

namespace vt::production {

inline constexpr const char *kConvertWorkerProgram = "vantorel-convert-worker";
inline constexpr const char *kWorkerProgressWord = "progress";  // SECONDS FPS FRAME
inline constexpr const char *kWorkerErrorWord = "error";        // TEXT
inline constexpr const char *kWorkerResultWord = "result";      // CODE SECONDS
inline constexpr std::chrono::milliseconds kWorkerReportInterval{500};

} // namespace vt::production
