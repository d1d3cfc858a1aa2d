// The conversion step: every clip of the project to a DVD VOB file through
// the converter library's X_MpegEnc.
#pragma once

#include "app/production/production_run.h"

#include <string>

namespace vt::project {
class ClipInfo;
struct TClipInfo;
} // namespace vt::project

namespace vt::production {

// g_s_OutputFolder + "OutputVOB_" + index + ".vob", or the first free
// "OutputVOB_" + index + "_" + k + ".vob".
std::string NextOutputVobPath(const std::string &outputFolder, int clipIndex);

class ClipConversion {
public:
    ClipConversion(ProductionRun &run, project::ClipInfo &clips);

    // Converts every clip in list order. True when all were converted;
    // otherwise the run has been ended with its outcome.
    bool ConvertAll();
    // Fills the per-clip parameters and the clip's VOB path; false when the
    // source file does not exist.
    bool PrepareClip(project::TClipInfo &clip);
    // Binds the library and converts the prepared clip: the converter's
    // result, or 2 when the library or an entry point is missing.
    int EncodeClip();

    // Stop pressed: while a conversion runs, asks "Do you want to stop
    // process?" and stops it on Yes; otherwise shows "Can not stop process!".
    void Stop();
    bool converterLoaded() const { return converterLoaded_; }

private:
    void conversionTick();
    // After a good conversion: records and logs a source that ended before
    // the clip's end.
    void noteEarlyEnd(project::TClipInfo &clip);

    ProductionRun &run_;
    project::ClipInfo &clips_;
    bool converterLoaded_ = false;
    int (*getInfo_)(int32_t *) = nullptr;
    int (*stopConvert_)() = nullptr;
    int startSecond_ = 0;
    int secondsConverted_ = 0;  // of the current clip, from the converter's last report
};

} // namespace vt::production
