// A scripted stand-in for the converter library, for window tests that must
// run without decoding anything. Same header, same entry points.
//
// Facts come from a sidecar next to the clip, "<clip>.facts", an ini file
// (section name free) with keys: duration, framerate, videobitrate, width, height, aspect,
// samplerate, channels, audiobitrate, progressive, and optionally
// encode_result (what X_MpegEnc returns, default 0) and encode_pace (clip
// seconds converted per 10 ms, default 5). A clip without a sidecar is
// unusable.
//
// Frames are one flat colour that encodes their second s: blue = s % 256,
// green = s / 256 % 256, red = 0x80.
//
// The preview posts its messages from its own thread; conversions pump the
// target, count the clip's seconds up and write the output file as text:
// "FAKEVOB" then one argument per line, so that a test can read back what it
// was asked to do.
#include "engines/converter/corvane.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Facts = std::map<std::string, std::string>;

std::string trimmed(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The sidecar is an ini file; its one section may be named anything.
bool read_facts(const std::string &clip, Facts *facts)
{
    std::ifstream in(clip + ".facts");
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || line[0] == ';' || line[0] == '#')
            continue; // section headers, comments, blank lines
        (*facts)[trimmed(line.substr(0, eq))] = trimmed(line.substr(eq + 1));
    }
    return true;
}

double fact(const Facts &facts, const char *key, double fallback)
{
    auto it = facts.find(key);
    return it == facts.end() ? fallback : std::atof(it->second.c_str());
}

int32_t float_bits(double value)
{
    float f = static_cast<float>(value);
    int32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

void post(VtMessageTarget *target, uint32_t message, intptr_t wparam, intptr_t lparam)
{
    if (target && target->post)
        target->post(target, message, wparam, lparam);
}

struct State {
    std::mutex mutex;
    bool have_frame = false;
    int frame_second = 0;
    std::vector<uint8_t> pixels;

    // preview
    std::thread worker;
    std::condition_variable wake;
    std::vector<int> requests;
    bool quit = false;
    VtMessageTarget *target = nullptr;
    int duration = 0;

    // conversion
    std::atomic<bool> stop{false};
    std::atomic<int32_t> seconds_done{0};
    std::atomic<int32_t> frame{0};
    std::atomic<int32_t> percent{0};
};

State &state()
{
    static State s;
    return s;
}

void set_frame(int second)
{
    std::lock_guard<std::mutex> lock(state().mutex);
    state().have_frame = true;
    state().frame_second = second;
}

void preview_loop(bool usable, int start_second)
{
    State &s = state();
    if (usable)
        set_frame(start_second);
    post(s.target, CORVANE_MSG_READY, usable ? 1 : 0, 0);
    for (;;) {
        std::vector<int> requests;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            s.wake.wait(lock, [&] { return s.quit || !s.requests.empty(); });
            if (s.quit)
                return;
            requests.swap(s.requests);
        }
        int second = requests.back();
        bool shown = usable && second >= 0 && second <= s.duration;
        if (shown)
            set_frame(second);
        for (size_t i = 0; i < requests.size(); ++i)
            post(s.target, CORVANE_MSG_FRAME, shown ? 1 : 0, second);
    }
}

bool write_arguments(const char *output, const std::vector<std::string> &arguments)
{
    std::ofstream out(output);
    out << "FAKEVOB\n";
    for (const std::string &argument : arguments)
        out << argument << "\n";
    return static_cast<bool>(out);
}

// Counts seconds up to total at the given pace while pumping target.
void simulate(VtMessageTarget *target, int total, int pace)
{
    State &s = state();
    for (int done = 0; done < total && !s.stop;) {
        if (target && target->pump)
            target->pump(target);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        done = std::min(total, done + pace);
        s.seconds_done = done;
        s.frame = done * 25;
        s.percent = total > 0 ? done * 100 / total : 100;
    }
    if (target && target->pump)
        target->pump(target);
}

} // namespace

extern "C" {

CORVANE_API int X_GetFileinfo_GetPic(char *path, int count, int32_t *values)
{
    Facts facts;
    if (!path || !values || count <= 0 || !read_facts(path, &facts) || fact(facts, "duration", 0) < 1)
        return -1;
    const int32_t all[CORVANE_INFO_VALUES] = {
        static_cast<int32_t>(fact(facts, "duration", 0)), float_bits(fact(facts, "framerate", 25)),
        float_bits(fact(facts, "videobitrate", 5000)),     static_cast<int32_t>(fact(facts, "width", 720)),
        static_cast<int32_t>(fact(facts, "height", 576)),  static_cast<int32_t>(fact(facts, "aspect", 2)),
        static_cast<int32_t>(fact(facts, "samplerate", 48000)), static_cast<int32_t>(fact(facts, "channels", 2)),
        float_bits(fact(facts, "audiobitrate", 192)),      static_cast<int32_t>(fact(facts, "progressive", 1))};
    for (int i = 0; i < count && i < CORVANE_INFO_VALUES; ++i)
        values[i] = all[i];
    set_frame(0);
    return 0;
}

CORVANE_API int X_Get_Frame(int width, int height, const char *bmp_path, uint8_t **pixels, int32_t *second)
{
    (void)bmp_path;
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.have_frame || width < 1 || height < 1 || width > 4096 || height > 4096) {
        if (pixels)
            *pixels = nullptr;
        return -1;
    }
    s.pixels.resize(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < s.pixels.size(); i += 3) {
        s.pixels[i] = static_cast<uint8_t>(s.frame_second % 256);
        s.pixels[i + 1] = static_cast<uint8_t>(s.frame_second / 256 % 256);
        s.pixels[i + 2] = 0x80;
    }
    if (pixels)
        *pixels = s.pixels.data();
    if (second)
        *second = s.frame_second;
    return 0;
}

CORVANE_API int X_GetFrame_Init(VtMessageTarget *target, int mode, const char *path, const char *reserved,
                                const char *start_second)
{
    (void)reserved;
    State &s = state();
    if (mode != 2 || !path || s.worker.joinable())
        return -1;
    Facts facts;
    bool usable = read_facts(path, &facts);
    s.target = target;
    s.duration = static_cast<int>(fact(facts, "duration", 0));
    s.quit = false;
    s.requests.clear();
    s.worker = std::thread(preview_loop, usable, start_second ? std::atoi(start_second) : 0);
    return 0;
}

CORVANE_API int X_Set_NextFrame_Time(int second)
{
    State &s = state();
    if (!s.worker.joinable())
        return -1;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.requests.push_back(second);
    }
    s.wake.notify_one();
    return 0;
}

CORVANE_API int X_GetFrame_UnInit(void)
{
    State &s = state();
    if (!s.worker.joinable())
        return -1;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.quit = true;
    }
    s.wake.notify_all();
    s.worker.join();
    post(s.target, CORVANE_MSG_STOPPED, 0, 0);
    return 0;
}

CORVANE_API int X_MpegEnc(VtMessageTarget *target, const char *source, const char *start, const char *sample_rate,
                          const char *aspect, const char *video_codec, const char *format, const char *video_kbps,
                          const char *audio_kbps, const char *picture_size, const char *frame_size,
                          const char *title, const char *author, const char *comment, const char *frame_rate,
                          const char *video_stream, const char *audio_stream, const char *output,
                          const char *audio_delay_ms, const char *duration, int flags, int standard,
                          const char *audio_codec, int quality, int deinterlace, int abi_version)
{
    Facts facts;
    if (abi_version != CORVANE_ABI_VERSION || !source || !output || !read_facts(source, &facts))
        return -1;
    State &s = state();
    s.stop = false;
    s.seconds_done = s.frame = s.percent = 0;
    int total = std::atoi(duration) > 0 ? std::atoi(duration) : static_cast<int>(fact(facts, "duration", 0)) - std::atoi(start);
    post(target, CORVANE_MSG_READY, 0, 0);
    simulate(target, total, static_cast<int>(fact(facts, "encode_pace", 5)));
    post(target, CORVANE_MSG_STOPPED, 0, 0);
    auto text = [](const char *value) { return std::string(value ? value : "(null)"); };
    write_arguments(output, {text(source), text(start), text(sample_rate), text(aspect), text(video_codec),
                             text(format), text(video_kbps), text(audio_kbps), text(picture_size), text(frame_size),
                             text(title), text(author), text(comment), text(frame_rate), text(video_stream),
                             text(audio_stream), text(output), text(audio_delay_ms), text(duration),
                             std::to_string(flags), std::to_string(standard), text(audio_codec),
                             std::to_string(quality), std::to_string(deinterlace)});
    return static_cast<int>(fact(facts, "encode_result", 0));
}

CORVANE_API int X_Get_Info(int32_t *values)
{
    if (!values)
        return -1;
    values[0] = state().seconds_done;
    values[1] = 25;
    values[2] = state().frame;
    values[3] = state().percent;
    return 0;
}

CORVANE_API int X_StopConvert(void)
{
    state().stop = true;
    return 0;
}

CORVANE_API int X_SetPar_BMP2VOB(VtMessageTarget *target, int standard, const char *bitmap, const char *duration,
                                 const char *picture_size, const char *frame_size, const char *aspect,
                                 const char *output, int with_music, const char *music)
{
    if (!bitmap || !output || !std::ifstream(bitmap))
        return -1;
    state().stop = false;
    simulate(target, std::atoi(duration), 5);
    auto text = [](const char *value) { return std::string(value ? value : "(null)"); };
    return write_arguments(output, {std::to_string(standard), text(bitmap), text(duration), text(picture_size),
                                    text(frame_size), text(aspect), text(output), std::to_string(with_music),
                                    text(music)})
               ? 0
               : -1;
}

} // extern "C"
