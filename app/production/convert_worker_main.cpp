// vantorel-convert-worker: one clip conversion in its own process, so that a
// project's clips can be converted side by side while the converter library
// runs one conversion per process.
//
//   vantorel-convert-worker LIBRARY SOURCE START SAMPLE_RATE ASPECT VIDEO_CODEC
//       FORMAT VIDEO_KBPS AUDIO_KBPS PICTURE_SIZE FRAME_SIZE TITLE AUTHOR
//       COMMENT FRAME_RATE VIDEO_STREAM AUDIO_STREAM OUTPUT AUDIO_DELAY
//       DURATION STANDARD AUDIO_CODEC QUALITY DEINTERLACE THREADS
//
// The arguments are X_MpegEnc's, in its order, then the cores the
// conversion's codecs and filters may count on (0: every core), so that
// workers side by side do not each start a thread per core. Lines on stdout:
//   progress SECONDS FPS FRAME   about twice a second
//   error TEXT                   the library or an entry point is missing
//   result CODE SECONDS          X_MpegEnc's result and the seconds converted
// SIGTERM or SIGINT makes the conversion finish its file and return soon.
// Exit status: 0 converted (or stopped), 1 the converter failed, 2 the
// library could not be used, 64 wrong arguments.
#include "app/production/convert_worker_protocol.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"

extern "C" {
#include <libavutil/cpu.h>
}

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>

namespace {

volatile std::sig_atomic_t stopAsked = 0;

decltype(&X_Get_Info) getInfo = nullptr;
decltype(&X_StopConvert) stopConvert = nullptr;
bool stopSent = false;
std::chrono::steady_clock::time_point nextReport{};

void onStopSignal(int)
{
    stopAsked = 1;
}

void reportProgress()
{
    int32_t info[4] = {};
    getInfo(info);
    std::printf("%s %d %d %d\n", vt::production::kWorkerProgressWord, info[0], info[1], info[2]);
    std::fflush(stdout);
}

void pump(VtMessageTarget *)
{
    if (stopAsked && !stopSent) {
        stopSent = true;
        stopConvert();
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextReport) {
        nextReport = now + vt::production::kWorkerReportInterval;
        reportProgress();
    }
}

void post(VtMessageTarget *, uint32_t, intptr_t, intptr_t) {}

} // namespace

int main(int argc, char **argv)
{
    constexpr int kArguments = 25;
    if (argc != kArguments + 1) {
        std::fprintf(stderr, "vantorel-convert-worker: %d arguments expected, %d given\n", kArguments, argc - 1);
        return 64;
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_DFL);
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // nobody is left to take the file when the program dies

    char **a = argv + 1;
    if (const int threads = std::atoi(a[24]); threads > 0)
        av_cpu_force_count(threads);  // the library shares this process's libavutil
    vt::Module library;
    decltype(&X_MpegEnc) mpegEnc = nullptr;
    if (!library.open(a[0]) || !library.bind("X_Get_Info", getInfo) || !library.bind("X_StopConvert", stopConvert) ||
        !library.bind("X_MpegEnc", mpegEnc)) {
        std::printf("%s %s\n", vt::production::kWorkerErrorWord, library.error().c_str());
        std::fflush(stdout);
        return 2;
    }
    VtMessageTarget target{};
    target.post = post;
    target.pump = pump;
    const int result = mpegEnc(&target, a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12],
                               a[13], a[14], a[15], a[16], a[17], a[18], a[19], 0, std::atoi(a[20]), a[21],
                               std::atoi(a[22]), std::atoi(a[23]), CORVANE_ABI_VERSION);
    reportProgress();  // the final figures, however recent the last report
    int32_t info[4] = {};
    getInfo(info);
    std::printf("%s %d %d\n", vt::production::kWorkerResultWord, result, info[0]);
    std::fflush(stdout);
    return result == 0 ? 0 : 1;
}
