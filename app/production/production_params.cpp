#include "app/production/production_params.h"

#include "app/production/volume_label.h"

#include <algorithm>

namespace vt::production {

ProductionParams MakeProductionParams(const RunChoices &choices)
{
    ProductionParams p;
    p.VideoStandard = choices.ntsc ? kNtsc : kPal;
    p.ConversionJobs = choices.conversionJobs < 0 ? 1 : choices.conversionJobs;
    p.Aspect = choices.aspect == kAspect16x9 ? kAspect16x9 : kAspect4x3;
    p.FrameSize = choices.ntsc ? "720:480" : "720:576";
    p.FrameRate = choices.ntsc ? "30000/1001" : "25";
    p.FrameHeight = choices.ntsc ? 480 : 576;
    p.PixelRatio = 720.0 / p.FrameHeight;
    const bool wide = p.Aspect == kAspect16x9;
    p.DisplayRatio = wide ? 16.0 / 9.0 : 4.0 / 3.0;
    p.DesignHeight = wide ? 404 : 540;
    p.AspectText = wide ? "16:9" : "4:3";
    p.AspectFraction = wide ? "16/9" : "4/3";
    p.QualityIndex = std::clamp(choices.qualityIndex, 0, 2);
    // Image quality, conversion speed, and speed with the smallest output:
    // the rates fall with the index.
    static const char *const kBitrates[] = {"5000", "3000", "2500"};
    p.VideoBitrate = kBitrates[p.QualityIndex];
    p.FitToDisc = choices.fitToDisc;
    p.DiscCapacityKB = choices.discCapacityKB;
    p.MenuSeconds = choices.menuSeconds;
    p.Deinterlace = choices.deinterlace ? 1 : 0;
    p.VolumeLabel = CleanVolumeLabel(choices.volumeLabel);
    return p;
}

} // namespace vt::production
