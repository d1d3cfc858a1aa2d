#include "plugins/ffmpeg/system_audio_decoder.h"
#include "plugins/ffmpeg/media_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
}

#include <algorithm>

#include <cstdlib>
#include <cstring>

namespace ffplug {

bool systemAudioForced()
{
    const char *v = std::getenv("VANTOREL_SYSTEM_AUDIO");
    return v && std::strcmp(v, "1") == 0;
}

std::string systemAudioCaps(const AVCodecParameters *par)
{
    std::string caps;
    bool needsFormat = false;
    switch (par->codec_id) {
    case AV_CODEC_ID_MP2: caps = "audio/mpeg,mpegversion=1,layer=2"; break;
    case AV_CODEC_ID_MP3: caps = "audio/mpeg,mpegversion=1,layer=3"; break;
    case AV_CODEC_ID_AC3: caps = "audio/x-ac3"; break;
    case AV_CODEC_ID_PCM_S16LE: caps = "audio/x-raw,format=S16LE,layout=interleaved", needsFormat = true; break;
    case AV_CODEC_ID_PCM_MULAW: caps = "audio/x-mulaw", needsFormat = true; break;
    case AV_CODEC_ID_PCM_ALAW: caps = "audio/x-alaw", needsFormat = true; break;
    case AV_CODEC_ID_ADPCM_IMA_WAV: caps = "audio/x-adpcm,layout=dvi", needsFormat = true; break;
    case AV_CODEC_ID_ADPCM_MS: caps = "audio/x-adpcm,layout=microsoft", needsFormat = true; break;
    default: return {};
    }
    int channels = par->ch_layout.nb_channels;
    if (par->sample_rate > 0 && channels > 0)
        caps += ",rate=" + std::to_string(par->sample_rate) + ",channels=" + std::to_string(channels);
    else if (needsFormat)
        return {};  // these carry no header of their own
    bool adpcm = par->codec_id == AV_CODEC_ID_ADPCM_IMA_WAV || par->codec_id == AV_CODEC_ID_ADPCM_MS;
    if (adpcm && par->block_align > 0)
        caps += ",block_align=" + std::to_string(par->block_align);
    if (adpcm && par->bits_per_coded_sample > 0)
        caps += ",bitrate=" + std::to_string(par->bit_rate) + ",depth=" + std::to_string(par->bits_per_coded_sample);
    return caps;
}

bool ac3HeaderRead(const uint8_t *block, size_t size, Ac3Header *header)
{
    static const int kRates[3] = {48000, 44100, 32000};
    static const int kKbps[19] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};
    uint32_t running = 0;
    for (size_t i = 0; i < size; ++i) {
        running = (running << 8) | block[i];
        if ((running & 0xFFFF) != 0x0B77)
            continue;
        if (i + 3 >= size)
            return false;  // the sync word needs its three bytes
        uint8_t code = block[i + 3];
        int rateCode = code >> 6, sizeCode = code & 0x3F;
        if (rateCode == 3)
            return false;  // reserved: no valid frame
        header->sampleRate = kRates[rateCode];
        header->bitRate = sizeCode < 38 ? kKbps[sizeCode / 2] * 1000 : 0;
        return true;
    }
    return false;
}

std::unique_ptr<SystemAudioDecoder> SystemAudioDecoder::open(const AVCodecParameters *par)
{
    std::string caps = systemAudioCaps(par);
    if (caps.empty())
        return nullptr;
    std::unique_ptr<SystemAudioDecoder> d(new SystemAudioDecoder);
    std::string error;
    if (!d->decoder_.open(caps, &error))
        return nullptr;
    d->ac3_ = par->codec_id == AV_CODEC_ID_AC3;
    return d;
}

bool SystemAudioDecoder::decode(const AVPacket *packet, std::vector<int16_t> *samples)
{
    if (drained_)
        return true;
    std::string error;
    size_t from = samples->size();
    uint32_t discardAtEnd = 0;
    bool ok = true;
    if (packet) {
        size_t sideSize = 0;
        const uint8_t *side = av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &sideSize);
        if (side && sideSize >= 8) {
            skipPending_ += AV_RL32(side);
            discardAtEnd = AV_RL32(side + 4);
        }
        ok = decoder_.decode(packet->data, static_cast<size_t>(packet->size), samples, &error);
        // Padding is only discarded from the last packet: the system decoder
        // may still hold its samples, so the stream ends here.
        if (ok && discardAtEnd > 0)
            ok = decoder_.drain(samples, &error), drained_ = true;
    } else {
        ok = decoder_.drain(samples, &error);
        drained_ = true;
    }
    if (decoder_.sampleRate() > 0) {
        sampleRate_ = decoder_.sampleRate();
        channels_ = decoder_.channels();
        trim(samples, from, discardAtEnd);
    } else if (ok && packet && ac3_ && sampleRate_ == 0) {
        // Nothing decoded yet: an AC-3 header still tells the sample rate.
        Ac3Header header;
        if (ac3HeaderRead(packet->data, static_cast<size_t>(packet->size), &header))
            sampleRate_ = header.sampleRate, channels_ = 2;
    }
    return ok;
}

void SystemAudioDecoder::trim(std::vector<int16_t> *samples, size_t from, uint32_t discardAtEnd)
{
    auto channels = static_cast<size_t>(channels_);
    size_t frames = (samples->size() - from) / channels;
    size_t skip = static_cast<size_t>(std::min<uint64_t>(skipPending_, frames));
    skipPending_ -= skip;
    size_t discard = std::min<size_t>(discardAtEnd, frames - skip);
    samples->erase(samples->end() - static_cast<ptrdiff_t>(discard * channels), samples->end());
    samples->erase(samples->begin() + static_cast<ptrdiff_t>(from),
                   samples->begin() + static_cast<ptrdiff_t>(from + skip * channels));
}

bool systemAudioProbe(const std::string &path, int index, SystemAudioFormat *format)
{
    MediaInput input;
    if (!input.open(path, nullptr) || index < 0 || index >= static_cast<int>(input.format()->nb_streams))
        return false;
    AVFormatContext *f = input.format();
    std::unique_ptr<SystemAudioDecoder> decoder = SystemAudioDecoder::open(f->streams[index]->codecpar);
    if (!decoder)
        return false;
    AVPacket *packet = av_packet_alloc();
    std::vector<int16_t> samples;
    // The format shows once the first samples come out.
    for (int read = 0; packet && read < 200 && decoder->sampleRate() == 0 && av_read_frame(f, packet) >= 0;) {
        if (packet->stream_index == index) {
            ++read;
            decoder->decode(packet, &samples);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    format->sampleRate = decoder->sampleRate();
    format->channels = decoder->channels();
    return format->sampleRate > 0 && format->channels > 0;
}

}  // namespace ffplug
