// A scripted stand-in for the DVD engine, for window tests of the second
// burning engine. Same header, same entry points.
//
// Drives come from the script of fake_script.h, keys:
//   vendor, product          identity (defaults FAKE / DVD Engine Writer)
//   media                    DVDENGINEX_MEDIA_ type (default 5, DVD+RW)
//   data, label              the disc holds data (1) and its label
//   capacity, used           bytes (defaults DVD-5 size, 0)
//   speeds                   KB/s, e.g. 5540/11080 (none: no speed values)
//   ready                    0: Refresh fails
//   burn, erase              ok or fail (default ok)
//   burn_ms, erase_ms        how long they take (default 300, 100)
//   lose_final_event         1: the last write or erase event never comes
//   missing_file             a write first warns that this file is missing
//   erase_error              1: a failing erase reports OnEraseError only
// The log gets "write FOLDER LABEL KBPS", "warning FILE go-on=0|1",
// "erase quick=Q KBPS".
#include "engines/dvdengine/dvdenginex.h"

#include "engines/burn/fake/fake_script.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace fake_burn;

struct DeviceX {
    DVDEngineX *engine = nullptr;
    DriveKeys keys;
    bool data = false;
    std::string label;
    int64_t used = 0;
};

struct DataImageX {
    DVDEngineX *engine = nullptr;
    std::string folder, label = "DVD_DISC";
    int32_t speed = 0;
};

struct DVDEngineX {
    std::mutex mutex;
    DVDENGINEX_EVENTS events{};
    void *context = nullptr;
    std::string lastError;
    std::vector<std::unique_ptr<DeviceX>> devices;
    std::thread worker;
    std::atomic<bool> working{false};

    int32_t fail(const std::string &text)
    {
        std::lock_guard<std::mutex> lock(mutex);
        lastError = text;
        return DVDENGINEX_E_FAIL;
    }
    void join()
    {
        if (worker.joinable())
            worker.join();
    }
};

namespace {

std::vector<int32_t> speedsOf(const DeviceX *device)
{
    std::vector<int32_t> speeds;
    for (const std::string &speed : Split(Text(device->keys, "speeds", ""), '/'))
        speeds.push_back(int32_t(std::atoi(speed.c_str())));
    return speeds;
}

int32_t mediaOf(const DeviceX *device) { return int32_t(Number(device->keys, "media", DVDENGINEX_MEDIA_DVDPLUSRW)); }

#define DEVICE(device)            \
    if (!device)                  \
        return DVDENGINEX_E_INVALIDARG

} // namespace

extern "C" {

DVDENGINEX_API DVDEngineX *DVDEngineX_Create(const char *vendor_init)
{
    return vendor_init && std::strcmp(vendor_init, DVDENGINEX_VENDOR_INIT) == 0 ? new DVDEngineX : nullptr;
}

DVDENGINEX_API void DVDEngineX_Destroy(DVDEngineX *engine)
{
    if (!engine)
        return;
    engine->join();
    delete engine;
}

DVDENGINEX_API int32_t DVDEngineX_Initialize(DVDEngineX *engine, int32_t)
{
    if (!engine)
        return DVDENGINEX_E_INVALIDARG;
    engine->devices.clear();
    for (const DriveKeys &keys : ReadDriveScript()) {
        auto device = std::make_unique<DeviceX>();
        device->engine = engine;
        device->keys = keys;
        device->data = Number(keys, "data", 0) == 1;
        device->label = Text(keys, "label", "");
        device->used = Number(keys, "used", 0);
        engine->devices.push_back(std::move(device));
    }
    return DVDENGINEX_OK;
}

DVDENGINEX_API void DVDEngineX_SetEvents(DVDEngineX *engine, const DVDENGINEX_EVENTS *events, void *context)
{
    if (!engine)
        return;
    std::lock_guard<std::mutex> lock(engine->mutex);
    engine->events = events ? *events : DVDENGINEX_EVENTS{};
    engine->context = context;
}

DVDENGINEX_API const char *DVDEngineX_LastErrorText(DVDEngineX *engine) { return engine ? engine->lastError.c_str() : ""; }
DVDENGINEX_API int32_t DVDEngineX_IsWorking(DVDEngineX *engine) { return engine && engine->working ? 1 : 0; }
DVDENGINEX_API int32_t DVDEngineX_GetDeviceCount(DVDEngineX *engine) { return engine ? int32_t(engine->devices.size()) : 0; }

DVDENGINEX_API DeviceX *DVDEngineX_GetDevice(DVDEngineX *engine, int32_t index)
{
    if (!engine || index < 0 || size_t(index) >= engine->devices.size())
        return nullptr;
    return engine->devices[size_t(index)].get();
}

DVDENGINEX_API int32_t DeviceX_GetDeviceString(DeviceX *device, char *text, uint32_t size)
{
    DEVICE(device);
    std::snprintf(text, size, "%s %s", Text(device->keys, "vendor", "FAKE").c_str(),
                  Text(device->keys, "product", "DVD Engine Writer").c_str());
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetDeviceAddress(DeviceX *device, char *text, uint32_t size)
{
    DEVICE(device);
    for (size_t i = 0; i < device->engine->devices.size(); ++i)
        if (device->engine->devices[i].get() == device)
            std::snprintf(text, size, "/dev/fake%zu", i);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_Refresh(DeviceX *device)
{
    DEVICE(device);
    return Number(device->keys, "ready", 1) ? DVDENGINEX_OK : device->engine->fail("scripted: not ready");
}

DVDENGINEX_API int32_t DeviceX_GetDiscInfo(DeviceX *device)
{
    DEVICE(device);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetMediaType(DeviceX *device, int32_t *media_type)
{
    DEVICE(device);
    *media_type = mediaOf(device);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsDVDMediaType(DeviceX *device, int32_t *is_dvd)
{
    DEVICE(device);
    *is_dvd = mediaOf(device) >= 1 && mediaOf(device) <= 8 ? 1 : 0;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetDiscStatus(DeviceX *device, int32_t *status)
{
    DEVICE(device);
    *status = device->data ? DVDENGINEX_DISC_COMPLETE : DVDENGINEX_DISC_BLANK;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsErasable(DeviceX *device, int32_t *erasable)
{
    DEVICE(device);
    const int32_t media = mediaOf(device);
    *erasable = media == DVDENGINEX_MEDIA_DVDRW || media == DVDENGINEX_MEDIA_DVDPLUSRW ||
                media == DVDENGINEX_MEDIA_DVDRAM || media == DVDENGINEX_MEDIA_CDRW;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetVolumeLabel(DeviceX *device, char *text, uint32_t size)
{
    DEVICE(device);
    std::snprintf(text, size, "%s", device->data ? device->label.c_str() : "");
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetUsedSpaceBlocks(DeviceX *device, int64_t *blocks)
{
    DEVICE(device);
    *blocks = device->data ? device->used / 2048 : 0;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetFreeSpaceBlocks(DeviceX *device, int64_t *blocks)
{
    DEVICE(device);
    *blocks = (Number(device->keys, "capacity", 4700372992ll) - (device->data ? device->used : 0)) / 2048;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetLastTrackNumber(DeviceX *device, int32_t *track)
{
    DEVICE(device);
    *track = device->data ? 1 : 0;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetSessionCount(DeviceX *device, int32_t *sessions)
{
    DEVICE(device);
    *sessions = device->data ? 1 : 0;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsFeatureSupported(DeviceX *device, int32_t, int32_t *supported)
{
    DEVICE(device);
    *supported = 1;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsCDWriter(DeviceX *device, int32_t *writer)
{
    DEVICE(device);
    *writer = 1;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetWriteSpeedCount(DeviceX *device, int32_t *count)
{
    DEVICE(device);
    *count = int32_t(speedsOf(device).size());
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetWriteSpeedValue(DeviceX *device, int32_t index, int32_t *kbps)
{
    DEVICE(device);
    const std::vector<int32_t> speeds = speedsOf(device);
    if (index < 0 || size_t(index) >= speeds.size())
        return device->engine->fail("scripted: no such speed");
    *kbps = speeds[size_t(index)];
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_CalculateDisplaySpeed(DeviceX *device, int32_t kbps, double *times)
{
    DEVICE(device);
    *times = kbps / 1385.0;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetMaxWriteSpeed(DeviceX *device, int32_t *kbps)
{
    DEVICE(device);
    const std::vector<int32_t> speeds = speedsOf(device);
    *kbps = speeds.empty() ? 5540 : speeds.back();
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_EraseDisc(DeviceX *device, int32_t quick, int32_t kbps)
{
    DEVICE(device);
    DVDEngineX *engine = device->engine;
    engine->join();
    engine->working = true;
    engine->worker = std::thread([engine, device, quick, kbps] {
        AppendToLog("erase quick=" + std::to_string(quick) + " " + std::to_string(kbps));
        std::this_thread::sleep_for(std::chrono::milliseconds(Number(device->keys, "erase_ms", 100)));
        const bool good = Text(device->keys, "erase", "ok") != "fail";
        if (good) {
            device->data = false;
            device->used = 0;
        }
        DVDENGINEX_EVENTS events;
        void *context;
        {
            std::lock_guard<std::mutex> lock(engine->mutex);
            events = engine->events;
            context = engine->context;
        }
        if (!good && Number(device->keys, "erase_error", 0) && events.OnEraseError)
            events.OnEraseError(context, 1, "scripted erase error");
        else if (!Number(device->keys, "lose_final_event", 0) && events.OnEraseStatus)
            events.OnEraseStatus(context, good ? DVDENGINEX_ERASE_DONE : DVDENGINEX_ERASE_FAILED);
        engine->working = false;
    });
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_Eject(DeviceX *device) { DEVICE(device); return DVDENGINEX_OK; }
DVDENGINEX_API int32_t DeviceX_Load(DeviceX *device) { DEVICE(device); return DVDENGINEX_OK; }
DVDENGINEX_API int32_t DeviceX_LockDevice(DeviceX *device) { DEVICE(device); return DVDENGINEX_OK; }
DVDENGINEX_API int32_t DeviceX_UnlockDevice(DeviceX *device) { DEVICE(device); return DVDENGINEX_OK; }

DVDENGINEX_API DataImageX *DVDEngineX_CreateDataImage(DVDEngineX *engine)
{
    if (!engine)
        return nullptr;
    auto *image = new DataImageX;
    image->engine = engine;
    return image;
}

DVDENGINEX_API void DataImageX_Destroy(DataImageX *image)
{
    if (image)
        image->engine->join();
    delete image;
}

DVDENGINEX_API int32_t DataImageX_ResetFileLayout(DataImageX *image)
{
    if (!image)
        return DVDENGINEX_E_INVALIDARG;
    image->folder.clear();
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_SetImageType(DataImageX *image, int32_t type, int32_t)
{
    if (!image)
        return DVDENGINEX_E_INVALIDARG;
    return type == DVDENGINEX_IMAGE_DVD_VIDEO ? DVDENGINEX_OK : image->engine->fail("scripted: not DVD-Video");
}

DVDENGINEX_API int32_t DataImageX_AddDVDVideoLayout(DataImageX *image, const char *video_ts_folder)
{
    if (!image || !video_ts_folder)
        return DVDENGINEX_E_INVALIDARG;
    FILE *manager = std::fopen((std::string(video_ts_folder) + "/VIDEO_TS.IFO").c_str(), "rb");
    if (!manager)
        return image->engine->fail("scripted: no VIDEO_TS.IFO");
    std::fclose(manager);
    image->folder = video_ts_folder;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_SetVolumeLabel(DataImageX *image, const char *label)
{
    if (!image || !label)
        return DVDENGINEX_E_INVALIDARG;
    image->label = label;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_SetWriteSpeed(DataImageX *image, int32_t kbps)
{
    if (!image)
        return DVDENGINEX_E_INVALIDARG;
    image->speed = kbps;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_WriteDisc(DataImageX *image, DeviceX *device)
{
    if (!image || !device || image->folder.empty())
        return DVDENGINEX_E_INVALIDARG;
    DVDEngineX *engine = image->engine;
    engine->join();
    engine->working = true;
    engine->worker = std::thread([engine, image, device] {
        DVDENGINEX_EVENTS events;
        void *context;
        {
            std::lock_guard<std::mutex> lock(engine->mutex);
            events = engine->events;
            context = engine->context;
        }
        AppendToLog("write " + image->folder + " " + image->label + " " + std::to_string(image->speed));
        bool good = Text(device->keys, "burn", "ok") != "fail";
        const std::string missing = Text(device->keys, "missing_file", "");
        if (!missing.empty()) {
            const bool goOn = events.OnTrackFileWarning && events.OnTrackFileWarning(context, missing.c_str(), "missing");
            AppendToLog("warning " + missing + " go-on=" + (goOn ? "1" : "0"));
            good = good && goOn;
        }
        const int64_t ms = Number(device->keys, "burn_ms", 300);
        for (int step = 1; good && step <= 10; ++step) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms / 10));
            if (events.OnWriteStatus)
                events.OnWriteStatus(context, DVDENGINEX_WRITE_PROGRESS, step * 10);
        }
        if (good) {
            device->data = true;
            device->label = image->label;
            device->used = 10 << 20;
        }
        if (!Number(device->keys, "lose_final_event", 0) && events.OnWriteStatus)
            events.OnWriteStatus(context, good ? DVDENGINEX_WRITE_DONE : DVDENGINEX_WRITE_FAILED, good ? 100 : 0);
        engine->working = false;
    });
    return DVDENGINEX_OK;
}

} // extern "C"
