// A scripted stand-in for the burning library, for window tests that need
// drives and discs of every kind without writing anything. Same header,
// same entry points.
//
// The drives come from the ini file named by $VANTOREL_FAKE_BURN_SCRIPT,
// one section per drive in order ([drive0], [drive1], ...), keys:
//   vendor, product, revision      identity (defaults FAKE / DVD Writer / 1.0)
//   type                           STARBURN_DISC_ code of the disc (default 9)
//   data                           1: the disc holds data (default 0)
//   label                          its volume label
//   capacity, used                 bytes (defaults DVD-5 size, 0)
//   speeds                         KB/s the drive accepts, e.g. 5540/11080
//   answers                        asked:accepted pairs, e.g. 5540:5000/11080:11080
//   ready                          0: the unit is never ready
//   burn, erase                    ok or fail (default ok)
//   burn_ms, erase_ms              how long they take (default 300, 100)
//   late_progress_ms               no progress event before this (default 0)
//   padding                        1: padding events around the end of a burn
//   glitches                       1: progress events with a total of 0, going
//                                  back, and past the total, before the real ones
// A good burn marks the disc as holding data (label = the volume label); a
// good erase as blank. Each burn appends "burn FOLDER LABEL" to the script
// file's name + ".log", each erase "erase quick=Q".
#include "engines/burn/starburn.h"

#include "engines/burn/fake/fake_script.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct FakeDrive {
    std::string vendor = "FAKE", product = "DVD Writer", revision = "1.0";
    int32_t type = STARBURN_DISC_DVDPLUSRW;
    bool data = false;
    std::string label;
    uint64_t capacity = 4700372992ull, used = 0;
    std::vector<uint32_t> speeds{5540, 11080};
    std::map<uint32_t, uint32_t> answers;
    bool ready = true, burnFails = false, eraseFails = false, padding = false, glitches = false;
    int burnMs = 300, eraseMs = 100, lateProgressMs = 0;
    uint32_t current = 0;
    bool held = false;
};

struct Grabber {
    size_t drive = 0;
    STARBURN_CALLBACK callback = nullptr;
    void *context = nullptr;
};

struct DvdVideo {
    std::string folder, label;
    uint64_t size = 0;
};

std::mutex g_mutex;
std::vector<FakeDrive> g_drives;
bool g_started = false;

void loadScript()
{
    using namespace fake_burn;
    g_drives.clear();
    for (const DriveKeys &keys : ReadDriveScript()) {
        FakeDrive drive;
        drive.vendor = Text(keys, "vendor", drive.vendor);
        drive.product = Text(keys, "product", drive.product);
        drive.revision = Text(keys, "revision", drive.revision);
        drive.type = int32_t(Number(keys, "type", drive.type));
        drive.data = Number(keys, "data", 0) == 1;
        drive.label = Text(keys, "label", "");
        drive.capacity = uint64_t(Number(keys, "capacity", int64_t(drive.capacity)));
        drive.used = uint64_t(Number(keys, "used", 0));
        drive.ready = Number(keys, "ready", 1) != 0;
        drive.burnFails = Text(keys, "burn", "ok") == "fail";
        drive.eraseFails = Text(keys, "erase", "ok") == "fail";
        drive.burnMs = int(Number(keys, "burn_ms", drive.burnMs));
        drive.eraseMs = int(Number(keys, "erase_ms", drive.eraseMs));
        drive.lateProgressMs = int(Number(keys, "late_progress_ms", 0));
        drive.padding = Number(keys, "padding", 0) == 1;
        drive.glitches = Number(keys, "glitches", 0) == 1;
        if (keys.count("speeds")) {
            drive.speeds.clear();
            for (const std::string &speed : Split(Text(keys, "speeds", ""), '/'))
                drive.speeds.push_back(uint32_t(std::atoi(speed.c_str())));
            std::sort(drive.speeds.begin(), drive.speeds.end());
        }
        for (const std::string &pair : Split(Text(keys, "answers", ""), '/')) {
            const size_t colon = pair.find(':');
            if (colon != std::string::npos)
                drive.answers[uint32_t(std::atoi(pair.c_str()))] = uint32_t(std::atoi(pair.c_str() + colon + 1));
        }
        g_drives.push_back(std::move(drive));
    }
}

int answer(char *text, uint32_t size, uint32_t *status, char *detail, int code, const char *reason = "")
{
    if (text && size)
        std::snprintf(text, size, "%s", code ? reason : "");
    if (detail && size)
        std::snprintf(detail, size, "%s", code ? reason : "");
    if (status)
        *status = uint32_t(code);
    return code;
}

#define ANSWER(code, ...) answer(exception_text, text_size, status, status_text, code, ##__VA_ARGS__)
#define FAKE_DRIVE()                                                                   \
    Grabber *self = static_cast<Grabber *>(grabber);                                   \
    if (!self)                                                                         \
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no burner object");       \
    std::unique_lock<std::mutex> lock(g_mutex);                                        \
    FakeDrive &drive = g_drives[self->drive]

void notify(Grabber *self, int event, uint64_t first = 0, uint64_t second = 0)
{
    if (self->callback)
        self->callback(event, self->context, &first, &second);
}

} // namespace

extern "C" {

STARBURN_API int StarBurn_UpStartEx(const void *init, uint32_t init_size)
{
    const size_t expected = std::strlen(STARBURN_VENDOR_INIT);
    if (!init || init_size != expected || std::memcmp(init, STARBURN_VENDOR_INIT, expected) != 0)
        return STARBURN_EXCEPTION_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_started)
        loadScript();
    g_started = true;
    return STARBURN_OK;
}

STARBURN_API void StarBurn_DownShut(void)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_drives.clear();
    g_started = false;
}

STARBURN_API int StarBurn_AddPseudoDrive(const char *, char *text, uint32_t text_size)
{
    if (text && text_size)
        std::snprintf(text, text_size, "the scripted library has no pseudo-drives");
    return STARBURN_EXCEPTION_NOT_SUPPORTED;
}

static long driveIndex(const char *name)
{
    if (!name || std::strncmp(name, "CdRom", 5) != 0)
        return -1;
    char *end = nullptr;
    const long index = std::strtol(name + 5, &end, 10);
    return *end == '\0' && index >= 0 && size_t(index) < g_drives.size() ? index : -1;
}

STARBURN_API int StarBurn_GetDeviceLetter(const char *device_name, char *address, uint32_t address_size)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const long index = driveIndex(device_name);
    if (address && address_size)
        std::snprintf(address, address_size, index >= 0 ? "/dev/fake%ld" : "", index);
    return index >= 0 ? STARBURN_OK : STARBURN_EXCEPTION_NO_DEVICE;
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_CreateEx(void **grabber, char *exception_text, uint32_t text_size,
                                                     uint32_t *status, char *status_text,
                                                     STARBURN_CALLBACK callback, void *context,
                                                     const char *device_name, int)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const long index = driveIndex(device_name);
    if (!grabber || index < 0)
        return ANSWER(STARBURN_EXCEPTION_NO_DEVICE, "no such drive");
    if (g_drives[size_t(index)].held)
        return ANSWER(STARBURN_EXCEPTION_DEVICE_BUSY, "the drive is in use");
    g_drives[size_t(index)].held = true;
    *grabber = new Grabber{size_t(index), callback, context};
    return ANSWER(STARBURN_OK);
}

STARBURN_API void StarBurn_CdvdBurnerGrabber_Destroy(void *grabber)
{
    Grabber *self = static_cast<Grabber *>(grabber);
    if (!self)
        return;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (self->drive < g_drives.size())
            g_drives[self->drive].held = false;
    }
    delete self;
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceInformation(STARBURN_CALL_ARGS, char *vendor, char *product,
                                                                 char *revision, uint32_t *cache_size)
{
    FAKE_DRIVE();
    std::snprintf(vendor, STARBURN_TEXT_SIZE, "%s", drive.vendor.c_str());
    std::snprintf(product, STARBURN_TEXT_SIZE, "%s", drive.product.c_str());
    std::snprintf(revision, STARBURN_TEXT_SIZE, "%s", drive.revision.c_str());
    if (cache_size)
        *cache_size = 2u << 20;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities(STARBURN_CALL_ARGS, uint8_t flags[16])
{
    FAKE_DRIVE();
    (void)drive;
    for (int i = 0; i < 16; ++i)
        flags[i] = i == 10 || i == 11 ? 0 : 1;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(STARBURN_CALL_ARGS, int32_t *disc_type)
{
    FAKE_DRIVE();
    *disc_type = drive.type;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_TestUnitReady(STARBURN_CALL_ARGS)
{
    FAKE_DRIVE();
    return drive.ready ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_NOT_READY, "not ready");
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscInformation(STARBURN_CALL_ARGS, STARBURN_DISC_INFORMATION *info)
{
    FAKE_DRIVE();
    info->empty = drive.data ? 0 : 1;
    info->erasable = drive.type == 3 || (drive.type >= 6 && drive.type <= 9) ? 1 : 0;
    info->sessions = drive.data ? 1 : 0;
    info->last_track = drive.data ? 1 : 0;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTOCInformation(STARBURN_CALL_ARGS, STARBURN_TOC_INFORMATION *toc)
{
    FAKE_DRIVE();
    toc->first_track = drive.data ? 1 : 0;
    toc->last_track = drive.data ? 1 : 0;
    toc->sessions = drive.data ? 1 : 0;
    toc->recorded_blocks = uint32_t(drive.used / 2048);
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTrackInformation(STARBURN_CALL_ARGS, int32_t track,
                                                               STARBURN_TRACK_INFORMATION *info)
{
    FAKE_DRIVE();
    info->blank = track == 255 && !drive.data ? 1 : 0;
    info->recorded_blocks = track == 255 ? 0 : uint32_t(drive.used / 2048);
    info->free_blocks = track == 255 ? uint32_t((drive.capacity - std::min(drive.capacity, drive.used)) / 2048) : 0;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscLabel(STARBURN_CALL_ARGS, char *label, uint32_t label_size)
{
    FAKE_DRIVE();
    std::snprintf(label, label_size, "%s", drive.data ? drive.label.c_str() : "");
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetSpeeds(STARBURN_CALL_ARGS, uint32_t *current_read,
                                                      uint32_t *maximum_read, uint32_t *current_write,
                                                      uint32_t *maximum_write)
{
    FAKE_DRIVE();
    const uint32_t fastest = drive.speeds.empty() ? 0 : drive.speeds.back();
    *current_read = *maximum_read = fastest;
    *current_write = drive.current;
    *maximum_write = fastest;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_SetSpeeds(STARBURN_CALL_ARGS, uint32_t, uint32_t write_kbps)
{
    FAKE_DRIVE();
    if (write_kbps == 0xFFFF)
        return ANSWER(STARBURN_OK);
    const auto scripted = drive.answers.find(write_kbps);
    if (scripted != drive.answers.end()) {
        drive.current = scripted->second;
    } else if (!drive.speeds.empty()) {
        drive.current = drive.speeds.front();
        for (uint32_t speed : drive.speeds)
            if (speed <= write_kbps || write_kbps == 0)
                drive.current = speed;
    }
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes(STARBURN_CALL_ARGS, int32_t *track_at_once,
                                                                   int32_t *session_at_once, int32_t *dao_pq,
                                                                   int32_t *dao_raw_pw)
{
    FAKE_DRIVE();
    (void)drive;
    *track_at_once = *session_at_once = *dao_pq = *dao_raw_pw = 1;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes(STARBURN_CALL_ARGS, int32_t modes[6])
{
    FAKE_DRIVE();
    (void)drive;
    for (int i = 0; i < 6; ++i)
        modes[i] = 1;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetBUP(STARBURN_CALL_ARGS, int32_t *enabled, int32_t *supported)
{
    FAKE_DRIVE();
    (void)drive;
    *enabled = *supported = 1;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_SetBUP(STARBURN_CALL_ARGS, int32_t)
{
    FAKE_DRIVE();
    (void)drive;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_SendOPC(STARBURN_CALL_ARGS)
{
    FAKE_DRIVE();
    (void)drive;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_DVDVideo_Create(void **dvdvideo, char *exception_text, uint32_t text_size,
                                         uint32_t *status, char *status_text, const char *video_ts_folder, int,
                                         const char *volume_label, const char *, const char *, int, int, int, int,
                                         int, int, int)
{
    std::ifstream manager(std::string(video_ts_folder ? video_ts_folder : "") + "/VIDEO_TS.IFO");
    if (!manager)
        return ANSWER(STARBURN_EXCEPTION_IMAGE_FAILED, "no VIDEO_TS.IFO");
    *dvdvideo = new DvdVideo{video_ts_folder, volume_label ? volume_label : "", 10u << 20};
    return ANSWER(STARBURN_OK);
}

STARBURN_API uint64_t StarBurn_DVDVideo_GetSizeInUCHARs(void *dvdvideo)
{
    return dvdvideo ? static_cast<DvdVideo *>(dvdvideo)->size : 0;
}
STARBURN_API void *StarBurn_DVDVideo_GetTreeNodePointer(void *dvdvideo) { return dvdvideo; }
STARBURN_API void StarBurn_DVDVideo_Destroy(void *dvdvideo) { delete static_cast<DvdVideo *>(dvdvideo); }

STARBURN_API int StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(STARBURN_CALL_ARGS, void *tree, int32_t, int32_t,
                                                               int32_t, int32_t, int32_t)
{
    FAKE_DRIVE();
    DvdVideo *video = static_cast<DvdVideo *>(tree);
    const FakeDrive script = drive;
    lock.unlock();
    fake_burn::AppendToLog("burn " + video->folder + " " + video->label);
    std::this_thread::sleep_for(std::chrono::milliseconds(script.lateProgressMs));
    if (script.glitches) {
        const uint64_t total = video->size;
        const uint64_t glitches[][2] = {{total, total / 2}, {0, 7}, {total, total / 10}, {total, total * 3}};
        for (const auto &glitch : glitches) {
            notify(self, STARBURN_EVENT_WRITE_PROGRESS, glitch[0], glitch[1]);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
    }
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(script.burnMs / steps));
        notify(self, STARBURN_EVENT_WRITE_PROGRESS, video->size, video->size * uint64_t(i) / steps);
    }
    if (script.padding) {
        notify(self, STARBURN_EVENT_DVD_MEDIA_PADDING_BEGIN);
        notify(self, STARBURN_EVENT_DVD_MEDIA_PADDING_END);
    }
    if (script.burnFails)
        return ANSWER(STARBURN_EXCEPTION_WRITE_FAILED, "scripted write failure");
    lock.lock();
    drive.data = true;
    drive.label = video->label;
    drive.used = video->size;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_CloseSession(STARBURN_CALL_ARGS)
{
    FAKE_DRIVE();
    (void)drive;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Blank(STARBURN_CALL_ARGS, int32_t quick)
{
    FAKE_DRIVE();
    const FakeDrive script = drive;
    lock.unlock();
    fake_burn::AppendToLog("erase quick=" + std::to_string(quick));
    std::this_thread::sleep_for(std::chrono::milliseconds(script.eraseMs));
    if (script.eraseFails)
        return ANSWER(STARBURN_EXCEPTION_ERASE_FAILED, "scripted erase failure");
    lock.lock();
    drive.data = false;
    drive.used = 0;
    drive.label.clear();
    return ANSWER(STARBURN_OK);
}

#define TRAY_CALL(name)                                  \
    STARBURN_API int name(STARBURN_CALL_ARGS)            \
    {                                                    \
        FAKE_DRIVE();                                    \
        (void)drive;                                     \
        return ANSWER(STARBURN_OK);                      \
    }
TRAY_CALL(StarBurn_CdvdBurnerGrabber_Eject)
TRAY_CALL(StarBurn_CdvdBurnerGrabber_Load)
TRAY_CALL(StarBurn_CdvdBurnerGrabber_Lock)
TRAY_CALL(StarBurn_CdvdBurnerGrabber_Release)

} // extern "C"
