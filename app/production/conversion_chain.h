// The converter mode's run: every clip to a VOB file in the output folder.
// TConvertWindow drives it; opening the output folder afterwards is the
// window's.
#pragma once

#include "app/production/clip_conversion.h"

#include <string>

namespace vt::common {
struct Settings;
}

namespace vt::production {

class ConversionChain {
public:
    ConversionChain(ProductionRun &run, project::ClipRecordList &clips);

    // "No file to convert." for an empty list (outcome −1, nothing started);
    // otherwise PrepareRun, the conversion step and outcome 1 on success.
    // After a stop or failure the clips converted so far are kept, and the
    // log names each of them.
    int run(const RunChoices &choices);
    void stop() { conversion_.Stop(); }
    bool converterLoaded() const { return conversion_.converterLoaded(); }

private:
    ProductionRun &run_;
    project::ClipRecordList &clips_;
    ClipConversion conversion_;
};

// The deinterlacing box's default: checked exactly when a clip is interlaced.
bool DeinterlaceByDefault(const project::ClipRecordList &clips);

// Closing a production window: when the NTSC box differs from the setting,
// the setting takes it and "VideoFormat" of section "Option" is written.
// False when the file could not be written.
bool StoreVideoFormatChoice(bool ntscChecked, common::Settings &settings, const std::string &optionIniPath);

} // namespace vt::production
