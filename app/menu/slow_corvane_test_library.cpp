// A converter library whose frame server is slow or silent, for the tests
// of the waits on it. The clip file's first word says how it behaves:
//   "silent"      the server never reports ready
//   "late N"      ready at once; requests are answered in order, the first
//                 N ms after it was asked, every later one 50 ms after the
//                 answer before it
//   "noframe"     ready at once; every request is answered without a frame
// Frames are a flat colour whose blue channel is their second.
#include "engines/converter/corvane.h"

#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct State {
    std::mutex mutex;
    VtMessageTarget *target = nullptr;
    std::string mode;
    int lateMs = 0;
    int frameSecond = 0;
    size_t answered = 0;
    bool running = false;
    std::vector<std::thread> answers;
    std::vector<uint8_t> pixels;
};

State &state()
{
    static State s;
    return s;
}

void post(uint32_t message, intptr_t wparam, intptr_t lparam)
{
    State &s = state();
    if (s.target && s.target->post)
        s.target->post(s.target, message, wparam, lparam);
}

void joinAnswers()
{
    for (std::thread &t : state().answers)
        t.join();
    state().answers.clear();
    state().answered = 0;
}

} // namespace

extern "C" {

CORVANE_API int X_GetFrame_Init(VtMessageTarget *target, int mode, const char *path, const char *, const char *)
{
    State &s = state();
    if (mode != 2 || !path || s.running)
        return -1;
    std::ifstream in(path);
    s.mode.clear();
    s.lateMs = 0;
    in >> s.mode >> s.lateMs;
    s.target = target;
    s.running = true;
    if (s.mode != "silent")
        post(CORVANE_MSG_READY, 1, 0);
    return 0;
}

CORVANE_API int X_Set_NextFrame_Time(int second)
{
    State &s = state();
    if (!s.running)
        return -1;
    if (s.mode == "silent")
        return 0;
    if (s.mode == "noframe") {
        post(CORVANE_MSG_FRAME, 0, second);
        return 0;
    }
    const int delay = s.answers.empty() ? s.lateMs : 50;
    s.answers.emplace_back([second, delay, count = s.answers.size()] {
        // Answers go out in order: each waits for the one before it.
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(state().mutex);
                if (state().answered >= count)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        {
            std::lock_guard<std::mutex> lock(state().mutex);
            state().frameSecond = second;
            ++state().answered;
        }
        post(CORVANE_MSG_FRAME, 1, second);
    });
    return 0;
}

CORVANE_API int X_Get_Frame(int width, int height, const char *, uint8_t **pixels, int32_t *second)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (width < 1 || height < 1 || width > 4096 || height > 4096)
        return -1;
    s.pixels.assign(static_cast<size_t>(width) * height * 3, 0);
    for (size_t i = 0; i < s.pixels.size(); i += 3)
        s.pixels[i] = static_cast<uint8_t>(s.frameSecond % 256);
    *pixels = s.pixels.data();
    if (second)
        *second = s.frameSecond;
    return 0;
}

CORVANE_API int X_GetFrame_UnInit(void)
{
    State &s = state();
    if (!s.running)
        return -1;
    joinAnswers();
    s.running = false;
    if (s.mode != "silent")
        post(CORVANE_MSG_STOPPED, 0, 0);
    return 0;
}

} // extern "C"
