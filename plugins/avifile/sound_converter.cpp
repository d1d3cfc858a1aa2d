#include "plugins/avifile/sound_converter.h"
#include "plugins/avifile/codec_lookup.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <cstring>

namespace avifile {

SoundConverter::~SoundConverter()
{
    avcodec_free_context(&codec_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    swr_free(&resampler_);
    av_parser_close(parser_);
}

bool SoundConverter::open(const std::vector<uint8_t> &format)
{
    WaveFormat w = waveFormatOf(format);
    const AVCodec *decoder = avcodec_find_decoder(soundCodecOf(format));
    if (!decoder || w.channels == 0 || w.samplesPerSecond == 0 || w.samplesPerSecond > INT32_MAX)
        return false;
    codec_ = avcodec_alloc_context3(decoder);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!codec_ || !packet_ || !frame_)
        return false;
    codec_->sample_rate = static_cast<int>(w.samplesPerSecond);
    av_channel_layout_default(&codec_->ch_layout, w.channels);
    codec_->block_align = w.blockAlign;
    codec_->bit_rate = static_cast<int64_t>(w.bytesPerSecond) * 8;
    codec_->bits_per_coded_sample = w.bitsPerSample;
    codec_->codec_tag = w.tag;
    size_t extra = std::min<size_t>(w.extraSize, format.size() - 18);
    if (extra > 0) {
        codec_->extradata = static_cast<uint8_t *>(av_mallocz(extra + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!codec_->extradata)
            return false;
        std::memcpy(codec_->extradata, format.data() + 18, extra);
        codec_->extradata_size = static_cast<int>(extra);
    }
    codec_->request_sample_fmt = AV_SAMPLE_FMT_S16;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return false;
    parser_ = av_parser_init(decoder->id);
    channels_ = targetChannelsFor(w.channels);
    sampleRate_ = static_cast<int>(w.samplesPerSecond);
    return true;
}

bool SoundConverter::convert(const uint8_t *bytes, size_t size, std::vector<int16_t> *out)
{
    if (bytes) {
        padded_.assign(bytes, bytes + size);
        padded_.resize(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    }
    bool ok = true;
    if (parser_) {
        const uint8_t *at = bytes ? padded_.data() : nullptr;
        int left = bytes ? static_cast<int>(size) : 0;
        do {
            uint8_t *frame = nullptr;
            int frameSize = 0;
            int used = av_parser_parse2(parser_, codec_, &frame, &frameSize, at, left, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
            if (used < 0)
                break;
            at = at ? at + used : nullptr;
            left -= used;
            if (frameSize > 0)
                ok = decode(frame, frameSize, out);
            else if (!bytes)
                break;
        } while (ok && (left > 0 || !bytes));
    } else if (bytes) {
        ok = decode(padded_.data(), static_cast<int>(size), out);
    }
    if (ok && !bytes)
        ok = decode(nullptr, 0, out);
    if (ok && !bytes && resampler_) {
        // What the resampler still holds.
        int room = swr_get_out_samples(resampler_, 0);
        if (room > 0) {
            size_t had = out->size();
            out->resize(had + static_cast<size_t>(room) * static_cast<size_t>(channels_));
            auto *at = reinterpret_cast<uint8_t *>(out->data() + had);
            int got = swr_convert(resampler_, &at, room, nullptr, 0);
            out->resize(had + static_cast<size_t>(got > 0 ? got : 0) * static_cast<size_t>(channels_));
        }
    }
    return ok;
}

// One packet (null: the end) through the decoder, and its frames through
// the resampler.
bool SoundConverter::decode(const uint8_t *bytes, int size, std::vector<int16_t> *out)
{
    packet_->data = const_cast<uint8_t *>(bytes);
    packet_->size = size;
    int sent = avcodec_send_packet(codec_, bytes ? packet_ : nullptr);
    packet_->data = nullptr;
    packet_->size = 0;
    // A damaged block decodes to nothing; the stream goes on.
    if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR_EOF)
        return false;
    bool ok = true;
    while (ok && avcodec_receive_frame(codec_, frame_) >= 0) {
        ok = take(out);
        av_frame_unref(frame_);
    }
    return ok;
}

bool SoundConverter::take(std::vector<int16_t> *out)
{
    if (!resampler_) {
        AVChannelLayout target;
        av_channel_layout_default(&target, channels_);
        AVChannelLayout source = frame_->ch_layout;
        if (source.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&source, source.nb_channels);
        bool made = swr_alloc_set_opts2(&resampler_, &target, AV_SAMPLE_FMT_S16, frame_->sample_rate, &source,
                                        static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0,
                                        nullptr) >= 0 &&
                    swr_init(resampler_) >= 0;
        if (!made)
            return false;
        sampleRate_ = frame_->sample_rate;
    }
    int room = swr_get_out_samples(resampler_, frame_->nb_samples);
    if (room <= 0)
        return true;
    size_t had = out->size();
    out->resize(had + static_cast<size_t>(room) * static_cast<size_t>(channels_));
    auto *at = reinterpret_cast<uint8_t *>(out->data() + had);
    int got = swr_convert(resampler_, &at, room, const_cast<const uint8_t **>(frame_->extended_data), frame_->nb_samples);
    if (got < 0)
        return false;
    out->resize(had + static_cast<size_t>(got) * static_cast<size_t>(channels_));
    return true;
}

}  // namespace avifile
