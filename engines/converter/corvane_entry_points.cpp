// The converter library's C entry points.
#include "engines/converter/corvane.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "engines/converter/bmp_file.h"
#include "engines/converter/clip_encoder.h"
#include "engines/converter/conversion_progress.h"
#include "engines/converter/current_frame.h"
#include "engines/converter/frame_server.h"
#include "engines/converter/media_probe.h"
#include "engines/converter/menu_encoder.h"
#include "engines/converter/pumped_call.h"

using namespace corvane;

namespace {

void report(const char *call, const std::string &error)
{
    std::fprintf(stderr, "Corvane: %s: %s\n", call, error.c_str());
}

FrameServer &frame_server()
{
    static FrameServer server;
    return server;
}

std::atomic<bool> &conversion_running()
{
    static std::atomic<bool> running{false};
    return running;
}

// The sound tracks of the last probed file.
struct ProbedSoundTracks {
    std::mutex mutex;
    bool probed = false;
    std::vector<SoundTrackFacts> tracks;
};

ProbedSoundTracks &probed_sound_tracks()
{
    static ProbedSoundTracks probed;
    return probed;
}

int32_t float_bits(float value)
{
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void post(VtMessageTarget *target, uint32_t message)
{
    if (target && target->post)
        target->post(target, message, 0, 0);
}

// Runs one conversion at a time on a worker thread while target is pumped.
int run_conversion(const char *call, VtMessageTarget *target, const std::function<bool(std::string *)> &work)
{
    bool expected = false;
    if (!conversion_running().compare_exchange_strong(expected, true)) {
        report(call, "a conversion is already running");
        return -1;
    }
    conversion_progress().reset();
    post(target, CORVANE_MSG_READY);
    std::string error;
    bool ok = run_pumping(target, [&] { return work(&error); });
    post(target, CORVANE_MSG_STOPPED);
    conversion_running() = false;
    if (!ok) {
        report(call, error);
        return -1;
    }
    return 0;
}

} // namespace

extern "C" {

CORVANE_API int X_GetFileinfo_GetPic(char *path, int count, int32_t *values)
{
    if (!path || !values || count <= 0)
        return -1;
    MediaFacts facts;
    FramePtr first;
    std::string error;
    if (!probe_media(path, &facts, &first, &error)) {
        report("X_GetFileinfo_GetPic", error);
        std::lock_guard<std::mutex> lock(probed_sound_tracks().mutex);
        probed_sound_tracks().probed = false;
        return -1;
    }
    const int32_t all[CORVANE_INFO_VALUES] = {
        facts.duration_seconds, float_bits(facts.frame_rate), float_bits(facts.video_kbps),
        facts.width,            facts.height,                 facts.aspect_code,
        facts.sample_rate,      facts.channels,               float_bits(facts.audio_kbps),
        facts.progressive ? 1 : 0};
    for (int i = 0; i < count && i < CORVANE_INFO_VALUES; ++i)
        values[i] = all[i];
    CurrentFrameLock()->set(first.get(), 0);
    ProbedSoundTracks &probed = probed_sound_tracks();
    std::lock_guard<std::mutex> lock(probed.mutex);
    probed.probed = true;
    probed.tracks = facts.sound_tracks;
    return 0;
}

CORVANE_API int X_Get_SoundTracks(CorvaneSoundTrack *tracks, int count)
{
    ProbedSoundTracks &probed = probed_sound_tracks();
    std::lock_guard<std::mutex> lock(probed.mutex);
    if (!probed.probed)
        return -1;
    for (int i = 0; tracks && i < count && i < static_cast<int>(probed.tracks.size()); ++i) {
        const SoundTrackFacts &facts = probed.tracks[i];
        CorvaneSoundTrack &track = tracks[i];
        track = CorvaneSoundTrack{};
        track.stream_index = facts.stream_index;
        track.sample_rate = facts.sample_rate;
        track.channels = facts.channels;
        track.kbps = facts.kbps;
        track.used = facts.used ? 1 : 0;
        std::strncpy(track.language, facts.language.c_str(), sizeof track.language - 1);
    }
    return static_cast<int>(probed.tracks.size());
}

CORVANE_API int X_Get_Frame(int width, int height, const char *bmp_path, uint8_t **pixels, int32_t *second)
{
    CurrentFrameLock frame;
    const uint8_t *bgr = frame->bgr(width, height, second);
    if (pixels)
        *pixels = const_cast<uint8_t *>(bgr);
    if (!bgr)
        return -1;
    if (bmp_path && *bmp_path && !write_bmp24(bmp_path, bgr, width, height))
        report("X_Get_Frame", std::string("cannot write ") + bmp_path);
    return 0;
}

CORVANE_API int X_GetFrame_Init(VtMessageTarget *target, int mode, const char *path, const char *reserved,
                                const char *start_second)
{
    (void)reserved;
    int start = 0;
    if (mode != 2 || !path || (start_second && *start_second && !parse_int_text(start_second, &start))) {
        report("X_GetFrame_Init", "bad arguments");
        return -1;
    }
    return frame_server().start(target, path, start) ? 0 : -1;
}

CORVANE_API int X_Set_NextFrame_Time(int second)
{
    return frame_server().request(second) ? 0 : -1;
}

CORVANE_API int X_GetFrame_UnInit(void)
{
    return frame_server().stop() ? 0 : -1;
}

CORVANE_API int X_MpegEnc(VtMessageTarget *target, const char *source, const char *start, const char *sample_rate,
                          const char *aspect, const char *video_codec, const char *format, const char *video_kbps,
                          const char *audio_kbps, const char *picture_size, const char *frame_size,
                          const char *title, const char *author, const char *comment, const char *frame_rate,
                          const char *video_stream, const char *audio_stream, const char *output,
                          const char *audio_delay_ms, const char *duration, int flags, int standard,
                          const char *audio_codec, int quality, int deinterlace, int abi_version)
{
    (void)title;
    (void)author;
    (void)comment;
    if (abi_version != CORVANE_ABI_VERSION) {
        report("X_MpegEnc", "interface version " + std::to_string(abi_version) + " is not " +
                                std::to_string(CORVANE_ABI_VERSION));
        return -1;
    }
    ClipEncodeArguments args{source,       start,      sample_rate,  aspect,       video_codec,
                             format,       video_kbps, audio_kbps,   picture_size, frame_size,
                             frame_rate,   video_stream, audio_stream, output,     audio_delay_ms,
                             duration,     audio_codec, flags,       standard,     quality,
                             deinterlace};
    ClipEncodeSettings settings;
    std::string error;
    if (!parse_clip_encode_arguments(args, &settings, &error)) {
        report("X_MpegEnc", error);
        return -1;
    }
    std::remove(settings.output.c_str());
    return run_conversion("X_MpegEnc", target,
                          [&](std::string *why) { return encode_clip(settings, conversion_progress(), why); });
}

CORVANE_API int X_Get_Info(int32_t *values)
{
    if (!values)
        return -1;
    ConversionProgress &progress = conversion_progress();
    values[0] = progress.seconds_done;
    values[1] = progress.frames_per_second;
    values[2] = progress.current_frame;
    values[3] = progress.percent_done;
    return 0;
}

CORVANE_API int X_StopConvert(void)
{
    conversion_progress().stop_requested = true;
    return 0;
}

CORVANE_API int X_SetPar_BMP2VOB(VtMessageTarget *target, int standard, const char *bitmap, const char *duration,
                                 const char *picture_size, const char *frame_size, const char *aspect,
                                 const char *output, int with_music, const char *music)
{
    MenuEncodeArguments args{standard, bitmap, duration, picture_size, frame_size, aspect, output, with_music, music};
    MenuEncodeSettings settings;
    std::string error;
    if (!parse_menu_encode_arguments(args, &settings, &error)) {
        report("X_SetPar_BMP2VOB", error);
        return -1;
    }
    std::remove(settings.output.c_str());
    return run_conversion("X_SetPar_BMP2VOB", target,
                          [&](std::string *why) { return encode_menu(settings, conversion_progress(), why); });
}

} // extern "C"
