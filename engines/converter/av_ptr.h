// Owning smart pointers for the FFmpeg objects the converter uses.
#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace corvane {

struct InputFormatCloser {
    void operator()(AVFormatContext *ctx) const { avformat_close_input(&ctx); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext *ctx) const { avcodec_free_context(&ctx); }
};
struct FrameFreer {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct FilterGraphFreer {
    void operator()(AVFilterGraph *graph) const { avfilter_graph_free(&graph); }
};
struct SwsFreer {
    void operator()(SwsContext *sws) const { sws_freeContext(sws); }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphFreer>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFreer>;

inline FramePtr make_frame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr make_packet() { return PacketPtr(av_packet_alloc()); }

// A reference to the same frame data (no pixel copy).
inline FramePtr clone_frame(const AVFrame *frame) { return FramePtr(av_frame_clone(frame)); }

} // namespace corvane
