#include "plugins/avifile/frame_getter.h"
#include "plugins/avifile/codec_lookup.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace avifile {

FrameGetter::~FrameGetter()
{
    avcodec_free_context(&codec_);
    av_packet_free(&packet_);
    av_frame_free(&decoded_);
    av_frame_free(&pending_);
    dropReady();
    sws_freeContext(scaler_);
}

bool FrameGetter::open(const AviFile &file, const AviStream &stream, int width, int height)
{
    file_ = &file;
    stream_ = &stream;
    width_ = width, height_ = height;
    BitmapHeader header = bitmapHeaderOf(stream.format);
    const AVCodec *decoder = avcodec_find_decoder(videoCodecOf(header, stream.handler));
    if (!decoder || header.width <= 0 || header.height == 0)
        return false;
    codec_ = avcodec_alloc_context3(decoder);
    packet_ = av_packet_alloc();
    decoded_ = av_frame_alloc();
    pending_ = av_frame_alloc();
    if (!codec_ || !packet_ || !decoded_ || !pending_)
        return false;
    codec_->width = header.width;
    codec_->height = header.height < 0 ? -header.height : header.height;
    codec_->bits_per_coded_sample = header.bitCount;
    codec_->codec_tag = header.compression;
    // Bytes after the bitmap header are the codec's own set-up data; raw
    // bitmaps stored bottom-up are marked the way libavcodec expects.
    std::vector<uint8_t> extra(stream.format.begin() + 40, stream.format.end());
    if (decoder->id == AV_CODEC_ID_RAWVIDEO && header.height > 0)
        extra.insert(extra.end(), {'B', 'o', 't', 't', 'o', 'm', 'U', 'p', 0});
    if (!extra.empty()) {
        codec_->extradata = static_cast<uint8_t *>(av_mallocz(extra.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!codec_->extradata)
            return false;
        std::memcpy(codec_->extradata, extra.data(), extra.size());
        codec_->extradata_size = static_cast<int>(extra.size());
    }
    if (header.bitCount <= 8 && header.bitCount > 0 && header.size >= 40 && header.size <= stream.format.size()) {
        size_t available = (stream.format.size() - header.size) / 4;
        size_t colors = header.colorsUsed ? header.colorsUsed : size_t{1} << header.bitCount;
        colors = std::min({colors, available, palette_.size()});
        for (size_t i = 0; i < colors; ++i) {
            const uint8_t *bgrx = &stream.format[header.size + i * 4];
            palette_[i] = 0xFF000000u | static_cast<uint32_t>(bgrx[2]) << 16 | static_cast<uint32_t>(bgrx[1]) << 8 | bgrx[0];
        }
        hasPalette_ = colors > 0;
    }
    codec_->thread_count = 1;
    return avcodec_open2(codec_, decoder, nullptr) >= 0;
}

void FrameGetter::dropReady()
{
    for (auto &[chunk, picture] : ready_)
        av_frame_free(&picture);
    ready_.clear();
}

void FrameGetter::restartAt(int64_t chunk)
{
    avcodec_flush_buffers(codec_);
    av_frame_unref(decoded_);
    dropReady();
    lastReady_ = -1;
    paletteSent_ = false;
    current_ = -1;
    nextToFeed_ = chunk;
    drained_ = false;
}

// Hands the decoder the next chunk that holds data (or, past the last, the
// end of the stream) and keeps the pictures it gives back, in display
// order. AVI stores no display times: chunk n is handed over stamped n,
// and a picture given back while chunk n goes in shows as frame n minus the
// decoder's reordering delay. False when nothing is left.
bool FrameGetter::feedNext()
{
    const auto &chunks = stream_->chunks;
    while (nextToFeed_ < static_cast<int64_t>(chunks.size()) && chunks[static_cast<size_t>(nextToFeed_)].size == 0)
        ++nextToFeed_;
    // A damaged chunk gives no picture; the next one is tried.
    if (nextToFeed_ < static_cast<int64_t>(chunks.size())) {
        int64_t chunk = nextToFeed_++;
        if (!file_->read(chunks[static_cast<size_t>(chunk)], 0, &bytes_))
            return false;
        packet_->data = bytes_.data();
        packet_->size = static_cast<int>(bytes_.size());
        packet_->flags = chunks[static_cast<size_t>(chunk)].keyFrame ? AV_PKT_FLAG_KEY : 0;
        packet_->dts = chunk;
        if (hasPalette_ && !paletteSent_) {
            uint8_t *side = av_packet_new_side_data(packet_, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
            if (side)
                std::memcpy(side, palette_.data(), AVPALETTE_SIZE);
            paletteSent_ = side != nullptr;
        }
        avcodec_send_packet(codec_, packet_);
        av_packet_free_side_data(packet_);
        packet_->data = nullptr;
        packet_->size = 0;
    } else if (!drained_) {
        drained_ = true;
        avcodec_send_packet(codec_, nullptr);
    } else {
        return false;
    }
    while (avcodec_receive_frame(codec_, pending_) >= 0) {
        int64_t number = pending_->pkt_dts != AV_NOPTS_VALUE ? pending_->pkt_dts - codec_->has_b_frames : lastReady_ + 1;
        if (number <= lastReady_)
            number = lastReady_ + 1;
        AVFrame *picture = av_frame_alloc();
        if (!picture) {
            av_frame_unref(pending_);
            continue;
        }
        av_frame_move_ref(picture, pending_);
        ready_.emplace_back(number, picture);
        lastReady_ = number;
    }
    return true;
}

bool FrameGetter::frame(int64_t n, uint8_t *bgra, bool *sizeMatches)
{
    const auto &chunks = stream_->chunks;
    *sizeMatches = true;
    if (n < 0 || n >= static_cast<int64_t>(chunks.size()))
        return false;
    // A zero-size chunk shows the picture of the last chunk with data.
    int64_t wanted = n;
    while (wanted >= 0 && chunks[static_cast<size_t>(wanted)].size == 0)
        --wanted;
    if (wanted < 0)
        return false;
    int64_t key = wanted;
    while (key > 0 && !chunks[static_cast<size_t>(key)].keyFrame)
        --key;
    // Reading on is as cheap as starting over once the decoder has been
    // handed the key frame; it also keeps the reference pictures of frames
    // that follow a key frame in decoding order but show before it.
    bool readOn = wanted >= current_ && key <= nextToFeed_ && (current_ >= 0 || nextToFeed_ <= wanted);
    if (!readOn)
        restartAt(key);
    if (!decodeUpTo(wanted) && current_ > wanted && key > 0) {
        // The frame shows before its key frame and needs the pictures of
        // the group before: start one key frame earlier.
        int64_t earlier = key - 1;
        while (earlier > 0 && !chunks[static_cast<size_t>(earlier)].keyFrame)
            --earlier;
        restartAt(earlier);
        decodeUpTo(wanted);
    }
    return current_ == wanted && convert(bgra, sizeMatches);
}

// Takes the decoder's pictures until the one of frame wanted; false when
// the decoder ends first or passes over it.
bool FrameGetter::decodeUpTo(int64_t wanted)
{
    while (current_ < wanted) {
        if (ready_.empty()) {
            if (!feedNext())
                return false;
            continue;
        }
        auto [number, picture] = ready_.front();
        ready_.pop_front();
        av_frame_unref(decoded_);
        av_frame_move_ref(decoded_, picture);
        av_frame_free(&picture);
        current_ = number;
    }
    return current_ == wanted;
}

bool FrameGetter::convert(uint8_t *bgra, bool *sizeMatches)
{
    if (decoded_->width != width_ || decoded_->height != height_) {
        *sizeMatches = false;
        return false;
    }
    // The full-range JPEG formats are their plain counterparts with the
    // range stated.
    auto format = static_cast<AVPixelFormat>(decoded_->format);
    bool fullRange = decoded_->color_range == AVCOL_RANGE_JPEG;
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: format = AV_PIX_FMT_YUV420P, fullRange = true; break;
    case AV_PIX_FMT_YUVJ422P: format = AV_PIX_FMT_YUV422P, fullRange = true; break;
    case AV_PIX_FMT_YUVJ444P: format = AV_PIX_FMT_YUV444P, fullRange = true; break;
    case AV_PIX_FMT_YUVJ440P: format = AV_PIX_FMT_YUV440P, fullRange = true; break;
    default: break;
    }
    scaler_ = sws_getCachedContext(scaler_, width_, height_, format, width_, height_, AV_PIX_FMT_BGRA, SWS_BICUBIC,
                                   nullptr, nullptr, nullptr);
    if (!scaler_)
        return false;
    int *inverse = nullptr, *table = nullptr, sourceRange = 0, targetRange = 0, brightness = 0, contrast = 0,
        saturation = 0;
    if (sws_getColorspaceDetails(scaler_, &inverse, &sourceRange, &table, &targetRange, &brightness, &contrast,
                                 &saturation) >= 0 &&
        sourceRange != (fullRange ? 1 : 0))
        sws_setColorspaceDetails(scaler_, inverse, fullRange ? 1 : 0, table, targetRange, brightness, contrast,
                                 saturation);
    // Bottom-up: the top line of the picture goes to the last line in memory.
    int stride = width_ * 4;
    uint8_t *lastLine = bgra + static_cast<ptrdiff_t>(stride) * (height_ - 1);
    uint8_t *targets[4] = {lastLine, nullptr, nullptr, nullptr};
    int strides[4] = {-stride, 0, 0, 0};
    return sws_scale(scaler_, decoded_->data, decoded_->linesize, 0, height_, targets, strides) == height_;
}

}  // namespace avifile
