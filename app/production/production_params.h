// The per-run record of a production window, filled when Start is pressed.
#pragma once

#include <cstdint>
#include <string>

namespace vt::production {

enum VideoStandard { kNtsc = 1, kPal = 2 };
enum PictureAspect { kAspect4x3 = 1, kAspect16x9 = 2 };

// What the window's controls say when Start is pressed.
struct RunChoices {
    bool ntsc = true;
    int aspect = kAspect4x3;
    int qualityIndex = 1;  // 0, 1 or 2
    bool deinterlace = false;
    std::string volumeLabel = "DVD_DISC";
    int conversionJobs = 1;  // clips converted at the same time; 0 chooses from the machine
    // Fit to disc: the video bitrate fills a disc of discCapacityKB (KB of
    // 1024 bytes) instead of following the quality; menuSeconds is the
    // length of each menu VOB the run makes.
    bool fitToDisc = false;
    int64_t discCapacityKB = 0;
    int menuSeconds = 0;
};

struct ProductionParams {
    int VideoStandard = kNtsc;
    int Aspect = kAspect4x3;
    std::string FrameSize;
    std::string FrameRate;
    double PixelRatio = 0;
    int FrameHeight = 0;
    double DisplayRatio = 0;
    int DesignHeight = 0;
    std::string AspectText;
    std::string AspectFraction;
    int QualityIndex = 0;
    std::string VideoBitrate;
    int Deinterlace = 0;
    std::string VolumeLabel;
    int ConversionJobs = 1;  // 0: as many as the machine carries (conversion_jobs.h)
    bool FitToDisc = false;  // VideoBitrate comes from the disc's capacity (fit_to_disc.h)
    int64_t DiscCapacityKB = 0;
    int MenuSeconds = 0;

    // The fixed encoder texts.
    std::string VideoCodec = "mpeg2", Format = "dvd", AudioCodec = "ac3", AudioBitrate = "192",
                SampleRate = "48000", Title = "MyVideo", Author = "MyVideo", Comment = "MyVideo",
                VideoStream = "-1", AudioStream = "-1", AudioDelay = "0";

    int ClipIndex = 0;
    // Per clip (the conversion driver fills them).
    std::string Source, Start, Duration, PictureSize, Output;
    int ShownDuration = 0;

    bool pal() const { return VideoStandard == kPal; }
};

ProductionParams MakeProductionParams(const RunChoices &choices);

} // namespace vt::production
