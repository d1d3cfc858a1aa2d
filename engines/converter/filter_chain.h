// A linear libavfilter chain between one buffer source and one buffer sink,
// described in the filter-graph text syntax ("yadif,scale=720:576").
#pragma once

#include <string>

#include "engines/converter/av_ptr.h"

namespace corvane {

class FilterChain {
public:
    // A chain fed with frames shaped like first_frame (pictures), whose
    // timestamps count in time_base.
    bool open_video(const AVFrame *first_frame, AVRational time_base, AVRational sample_aspect,
                    const std::string &description, std::string *error);
    // A chain fed with sound frames shaped like first_frame.
    bool open_audio(const AVFrame *first_frame, AVRational time_base, const std::string &description,
                    std::string *error);

    bool is_open() const { return graph_ != nullptr; }

    // Feeds one frame (null: end of input). False on a filter error.
    bool push(AVFrame *frame);
    // Ends the input at end_pts, the end of the last frame in the input's
    // time base. A frame-rate filter needs it to keep the last frame: an
    // input ended by push(nullptr) ends where that frame starts.
    bool close(int64_t end_pts);
    enum class Pull { Frame, NeedInput, Finished };
    // The next filtered frame, or whether the chain needs more input or has
    // delivered everything (a trim reached its end, or the input ended).
    Pull pull(FramePtr &out);
    // The time base of the frames pull() returns.
    AVRational output_time_base() const;

private:
    bool link(const char *source_filter, const std::string &source_args, const char *sink_filter,
              const std::string &description, std::string *error);

    FilterGraphPtr graph_;
    AVFilterContext *source_ = nullptr;
    AVFilterContext *sink_ = nullptr;
};

} // namespace corvane
