// The stream facts of a media file, as the clip list stores them.
#pragma once

#include <string>
#include <vector>

#include "engines/converter/av_ptr.h"

namespace corvane {

struct SoundTrackFacts {
    int stream_index = 0;
    int sample_rate = 0;
    int channels = 0;
    float kbps = 0;
    bool used = false;        // the track a conversion takes by default
    std::string language;     // ISO 639-2 code from the file, "" when none
};

struct MediaFacts {
    int duration_seconds = 0;
    float frame_rate = 0;
    float video_kbps = 0;
    int width = 0;
    int height = 0;
    int aspect_code = 0;      // 1 1:1, 2 4:3, 3 16:9, 4 2.21:1, 0 other
    int sample_rate = 0;
    int channels = 0;
    float audio_kbps = 0;
    bool progressive = true;
    std::vector<SoundTrackFacts> sound_tracks; // every sound stream, in file order
};

// Display aspect (sample aspect x width / height) to its code: the nearest of
// 1:1, 4:3, 16:9 and 2.21:1 when within 2 %, else 0.
int aspect_code_of(double display_aspect);

// Probes path; false (with *error) for an unreadable file, no video stream,
// or less than a second of it. first_frame receives the first picture.
bool probe_media(const std::string &path, MediaFacts *facts, FramePtr *first_frame, std::string *error);

} // namespace corvane
