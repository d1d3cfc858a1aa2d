// One stream of a decoder node: its own demuxer instance of the file, its
// codec, and the samples it decodes into its output queue.
#pragma once

#include "framework/include/zif.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/stream_samples.h"
#include "plugins/ffmpeg/media_input.h"
#include "plugins/ffmpeg/system_audio_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <memory>
#include <vector>

struct SwrContext;

namespace ffplug {

class DecoderStream {
public:
    DecoderStream(int index, AVMediaType type) : index_(index), type_(type) {}
    DecoderStream(const DecoderStream &) = delete;
    DecoderStream &operator=(const DecoderStream &) = delete;
    ~DecoderStream();

    int index() const { return index_; }
    bool isVideo() const { return type_ == AVMEDIA_TYPE_VIDEO; }

    // The output port description; fails with 29 for an unsupported pixel
    // layout or channel count.
    bool describe(zif_object *errorObject, const AVFormatContext *probe, double duration);
    zif_object *description() const { return description_; }

    // On connection of the output port: opens the file again for this
    // stream and opens its codec.
    // A stream opened again starts over; a stream whose connection goes
    // (when the graph search backtracks) closes.
    bool open(zif_object *connector, const std::string &path, const AVInputFormat *format);
    void close();
    bool opened() const { return codec_ != nullptr || system_ != nullptr; }

    // Decodes at most one packet of this stream into an empty queue.
    // *busy is set while the stream has not delivered its end of stream.
    bool work(const plugins::DecodeRequest &request, bool *busy);

private:
    bool decode(AVPacket *packet, bool skip);
    bool decodeWithSystem(AVPacket *packet, bool skip);
    bool deliverPicture(const AVFrame *frame);
    bool deliverSound(const AVFrame *frame);
    bool finish();

    int index_;
    AVMediaType type_;
    int pixelFormat_ = AV_PIX_FMT_NONE;  // as probed
    zif_object *description_ = nullptr;
    zif_object *queue_ = nullptr;
    MediaInput input_;
    AVStream *stream_ = nullptr;
    AVCodecContext *codec_ = nullptr;
    std::unique_ptr<SystemAudioDecoder> system_;  // sound libavcodec does not decode
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
    bool endSent_ = false;
    bool started_ = false;
    int primingPackets_ = 1;
    int picturesToDrop_ = 0;
    // Time stamp of the key frame decoding started at, when it started late:
    // pictures stamped before it (the leading pictures of an open GOP) are dropped.
    int64_t startStamp_ = AV_NOPTS_VALUE;
    bool haveNextTime_ = false;
    plugins::MediaTime nextTime_;
    plugins::MediaTime frameDuration_;
    // Sound: conversion to interleaved signed 16-bit, in the documented channel order.
    SwrContext *resampler_ = nullptr;
    std::vector<int> channelSource_;
    std::vector<int16_t> samples_;
};

}  // namespace ffplug
