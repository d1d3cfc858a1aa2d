#include "engines/converter/filter_chain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

#include "engines/converter/media_input.h"

namespace corvane {

namespace {

std::string rational_text(AVRational q)
{
    return std::to_string(q.num) + "/" + std::to_string(q.den);
}

} // namespace

bool FilterChain::open_video(const AVFrame *first_frame, AVRational time_base, AVRational sample_aspect,
                             const std::string &description, std::string *error)
{
    if (sample_aspect.num <= 0 || sample_aspect.den <= 0)
        sample_aspect = AVRational{1, 1};
    std::string args = "video_size=" + std::to_string(first_frame->width) + "x" + std::to_string(first_frame->height) +
                       ":pix_fmt=" + av_get_pix_fmt_name(static_cast<AVPixelFormat>(first_frame->format)) + ":time_base=" + rational_text(time_base) +
                       ":pixel_aspect=" + rational_text(sample_aspect);
    return link("buffer", args, "buffersink", description, error);
}

bool FilterChain::open_audio(const AVFrame *first_frame, AVRational time_base, const std::string &description,
                             std::string *error)
{
    AVChannelLayout layout{};
    if (first_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || first_frame->ch_layout.nb_channels == 0)
        av_channel_layout_default(&layout, first_frame->ch_layout.nb_channels > 0 ? first_frame->ch_layout.nb_channels : 2);
    else
        av_channel_layout_copy(&layout, &first_frame->ch_layout);
    char layout_text[128] = {};
    av_channel_layout_describe(&layout, layout_text, sizeof layout_text);
    av_channel_layout_uninit(&layout);
    const char *format_name = av_get_sample_fmt_name(static_cast<AVSampleFormat>(first_frame->format));
    std::string args = "time_base=" + rational_text(time_base) + ":sample_rate=" + std::to_string(first_frame->sample_rate) +
                       ":sample_fmt=" + (format_name ? format_name : "s16") + ":channel_layout=" + layout_text;
    return link("abuffer", args, "abuffersink", description, error);
}

bool FilterChain::link(const char *source_filter, const std::string &source_args, const char *sink_filter,
                       const std::string &description, std::string *error)
{
    graph_.reset(avfilter_graph_alloc());
    graph_->nb_threads = 0; // slice-threaded filters (yadif, scale) use every core
    int rc = avfilter_graph_create_filter(&source_, avfilter_get_by_name(source_filter), "in", source_args.c_str(),
                                          nullptr, graph_.get());
    if (rc >= 0)
        rc = avfilter_graph_create_filter(&sink_, avfilter_get_by_name(sink_filter), "out", nullptr, nullptr,
                                          graph_.get());
    if (rc < 0) {
        *error = std::string("cannot create the ") + source_filter + " filter (" + source_args + "): " + av_error_text(rc);
        graph_.reset();
        return false;
    }
    AVFilterInOut *outputs = avfilter_inout_alloc();
    AVFilterInOut *inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source_;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    rc = avfilter_graph_parse_ptr(graph_.get(), description.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (rc >= 0)
        rc = avfilter_graph_config(graph_.get(), nullptr);
    if (rc < 0) {
        *error = "cannot set up the filters \"" + description + "\": " + av_error_text(rc);
        graph_.reset();
        return false;
    }
    return true;
}

bool FilterChain::push(AVFrame *frame)
{
    return av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
}

bool FilterChain::close(int64_t end_pts)
{
    return av_buffersrc_close(source_, end_pts, AV_BUFFERSRC_FLAG_PUSH) >= 0;
}

FilterChain::Pull FilterChain::pull(FramePtr &out)
{
    FramePtr frame = make_frame();
    int rc = av_buffersink_get_frame(sink_, frame.get());
    if (rc == AVERROR(EAGAIN))
        return Pull::NeedInput;
    if (rc < 0)
        return Pull::Finished;
    out = std::move(frame);
    return Pull::Frame;
}

AVRational FilterChain::output_time_base() const
{
    return av_buffersink_get_time_base(sink_);
}

} // namespace corvane
