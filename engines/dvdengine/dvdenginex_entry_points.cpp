// The DVD engine object model over the drive table and the image maker.
#include "engines/dvdengine/dvdenginex.h"

#include "engines/burn/drive_table.h"
#include "engines/burn/dvd_video_image.h"
#include "engines/burn/starburn.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using starburn::DiscState;
using starburn::Drive;

struct DeviceX {
    DVDEngineX *engine = nullptr;
    std::shared_ptr<Drive> drive;
    bool held = false;
    DiscState disc;
    bool haveDisc = false;
};

struct DataImageX {
    DVDEngineX *engine = nullptr;
    std::string videoTs;
    std::string label = "DVD_DISC";
    int32_t speed = 0;
    int32_t type = 0;
    std::unique_ptr<starburn::DvdVideoImage> image;
};

struct DVDEngineX {
    std::mutex mutex;  // events and the error text
    DVDENGINEX_EVENTS events{};
    void *context = nullptr;
    std::string lastError;
    bool initialized = false;
    std::vector<std::unique_ptr<DeviceX>> devices;
    std::thread worker;
    std::atomic<bool> working{false};

    int32_t fail(int32_t code, const std::string &text)
    {
        std::lock_guard<std::mutex> lock(mutex);
        lastError = text;
        return code;
    }
    DVDENGINEX_EVENTS sink(void **ctx)
    {
        std::lock_guard<std::mutex> lock(mutex);
        *ctx = context;
        return events;
    }
    void joinWorker()
    {
        if (worker.joinable())
            worker.join();
    }
};

namespace {

std::mutex &tableMutex()
{
    static std::mutex mutex;
    return mutex;
}

int32_t mediaTypeOf(int32_t discType)
{
    switch (discType) {
    case STARBURN_DISC_DVDROM: return DVDENGINEX_MEDIA_DVDROM;
    case STARBURN_DISC_DVDRAM: return DVDENGINEX_MEDIA_DVDRAM;
    case STARBURN_DISC_DVDR: return DVDENGINEX_MEDIA_DVDR;
    case STARBURN_DISC_DVDRW_OVERWRITE:
    case STARBURN_DISC_DVDRW_SEQUENTIAL: return DVDENGINEX_MEDIA_DVDRW;
    case STARBURN_DISC_DVDPLUSRW: return DVDENGINEX_MEDIA_DVDPLUSRW;
    case STARBURN_DISC_DVDPLUSR: return DVDENGINEX_MEDIA_DVDPLUSR;
    case STARBURN_DISC_DVDR_DL: return DVDENGINEX_MEDIA_DVDR_DL;
    case STARBURN_DISC_DVDPLUSR_DL: return DVDENGINEX_MEDIA_DVDPLUSR_DL;
    case STARBURN_DISC_CDRW: case 12: return DVDENGINEX_MEDIA_CDRW;
    case STARBURN_DISC_CDR: case 11: return DVDENGINEX_MEDIA_CDR;
    case STARBURN_DISC_BDR: return DVDENGINEX_MEDIA_BDR;
    case STARBURN_DISC_BDRE: return DVDENGINEX_MEDIA_BDRE;
    case STARBURN_DISC_BDROM: return DVDENGINEX_MEDIA_BDROM;
    case STARBURN_DISC_CDROM: case 10: return DVDENGINEX_MEDIA_CDROM;
    default: return DVDENGINEX_MEDIA_NONE;
    }
}

#define DEVICE_WITH_DISC(device)                                                                  \
    if (!device || !device->drive)                                                                \
        return DVDENGINEX_E_INVALIDARG;                                                           \
    if (!device->haveDisc)                                                                        \
        return device->engine->fail(DVDENGINEX_E_NOTREADY, "GetDiscInfo was not called")

#define OUT(pointer, value)   \
    do {                      \
        if (pointer)          \
            *(pointer) = (value); \
    } while (0)

} // namespace

extern "C" {

DVDENGINEX_API DVDEngineX *DVDEngineX_Create(const char *vendor_init)
{
    if (!vendor_init || std::strcmp(vendor_init, DVDENGINEX_VENDOR_INIT) != 0)
        return nullptr;
    return new DVDEngineX;
}

DVDENGINEX_API void DVDEngineX_Destroy(DVDEngineX *engine)
{
    if (!engine)
        return;
    engine->joinWorker();
    for (auto &device : engine->devices)
        if (device->held)
            device->drive->relinquish();
    engine->devices.clear();
    if (engine->initialized) {
        std::lock_guard<std::mutex> lock(tableMutex());
        starburn::DriveTable::instance().stop();
    }
    delete engine;
}

DVDENGINEX_API int32_t DVDEngineX_Initialize(DVDEngineX *engine, int32_t)
{
    if (!engine)
        return DVDENGINEX_E_INVALIDARG;
    if (engine->initialized)
        return DVDENGINEX_OK;
    std::string error;
    std::lock_guard<std::mutex> lock(tableMutex());
    starburn::DriveTable &table = starburn::DriveTable::instance();
    if (!table.start(error))
        return engine->fail(DVDENGINEX_E_FAIL, error);
    engine->initialized = true;
    for (size_t i = 0; i < table.count(); ++i) {
        std::shared_ptr<Drive> drive = table.find("CdRom" + std::to_string(i), error);
        if (!drive)
            continue;
        auto device = std::make_unique<DeviceX>();
        device->engine = engine;
        device->drive = drive;
        device->held = drive->acquire(error);
        if (device->held)
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

DVDENGINEX_API const char *DVDEngineX_LastErrorText(DVDEngineX *engine)
{
    return engine ? engine->lastError.c_str() : "no engine";
}

DVDENGINEX_API int32_t DVDEngineX_IsWorking(DVDEngineX *engine) { return engine && engine->working ? 1 : 0; }

DVDENGINEX_API int32_t DVDEngineX_GetDeviceCount(DVDEngineX *engine)
{
    return engine ? int32_t(engine->devices.size()) : 0;
}

DVDENGINEX_API DeviceX *DVDEngineX_GetDevice(DVDEngineX *engine, int32_t index)
{
    if (!engine || index < 0 || size_t(index) >= engine->devices.size())
        return nullptr;
    return engine->devices[size_t(index)].get();
}

DVDENGINEX_API int32_t DeviceX_GetDeviceString(DeviceX *device, char *text, uint32_t size)
{
    if (!device || !text || size == 0)
        return DVDENGINEX_E_INVALIDARG;
    const Drive &drive = *device->drive;
    std::snprintf(text, size, "%s %s %s (%s)", drive.vendor().c_str(), drive.product().c_str(),
                  drive.revision().c_str(), drive.address().c_str());
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetDeviceAddress(DeviceX *device, char *text, uint32_t size)
{
    if (!device || !text || size == 0)
        return DVDENGINEX_E_INVALIDARG;
    std::snprintf(text, size, "%s", device->drive->address().c_str());
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_Refresh(DeviceX *device)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    device->haveDisc = false;
    std::string error;
    return device->drive->ready(error) ? DVDENGINEX_OK : device->engine->fail(DVDENGINEX_E_NOTREADY, error);
}

DVDENGINEX_API int32_t DeviceX_GetDiscInfo(DeviceX *device)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    std::string error;
    device->haveDisc = device->drive->readDisc(device->disc, error);
    return device->haveDisc ? DVDENGINEX_OK : device->engine->fail(DVDENGINEX_E_NOTREADY, error);
}

DVDENGINEX_API int32_t DeviceX_GetMediaType(DeviceX *device, int32_t *media_type)
{
    DEVICE_WITH_DISC(device);
    OUT(media_type, mediaTypeOf(device->disc.type));
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsDVDMediaType(DeviceX *device, int32_t *is_dvd)
{
    DEVICE_WITH_DISC(device);
    const int32_t media = mediaTypeOf(device->disc.type);
    OUT(is_dvd, media >= DVDENGINEX_MEDIA_DVDROM && media <= DVDENGINEX_MEDIA_DVDPLUSR_DL ? 1 : 0);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetDiscStatus(DeviceX *device, int32_t *status)
{
    DEVICE_WITH_DISC(device);
    OUT(status, device->disc.holdsData ? DVDENGINEX_DISC_COMPLETE : DVDENGINEX_DISC_BLANK);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsErasable(DeviceX *device, int32_t *erasable)
{
    DEVICE_WITH_DISC(device);
    OUT(erasable, device->disc.erasable ? 1 : 0);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetVolumeLabel(DeviceX *device, char *text, uint32_t size)
{
    DEVICE_WITH_DISC(device);
    if (!text || size == 0)
        return DVDENGINEX_E_INVALIDARG;
    std::snprintf(text, size, "%s", device->disc.label.c_str());
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetUsedSpaceBlocks(DeviceX *device, int64_t *blocks)
{
    DEVICE_WITH_DISC(device);
    OUT(blocks, int64_t(device->disc.used / 2048));
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetFreeSpaceBlocks(DeviceX *device, int64_t *blocks)
{
    DEVICE_WITH_DISC(device);
    const DiscState &disc = device->disc;
    const bool writable = !disc.holdsData || disc.erasable;
    OUT(blocks, writable ? int64_t((disc.capacity - std::min(disc.capacity, disc.used)) / 2048) : 0);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetLastTrackNumber(DeviceX *device, int32_t *track)
{
    DEVICE_WITH_DISC(device);
    OUT(track, device->disc.tracks);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetSessionCount(DeviceX *device, int32_t *sessions)
{
    DEVICE_WITH_DISC(device);
    OUT(sessions, device->disc.sessions);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsFeatureSupported(DeviceX *device, int32_t feature, int32_t *supported)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    uint8_t flags[16] = {};
    device->drive->capabilities(flags);
    int byte = -1;
    switch (feature) {
    case DVDENGINEX_FEATURE_DVDR: byte = 8; break;
    case DVDENGINEX_FEATURE_DVDPLUSRW: byte = 13; break;
    case DVDENGINEX_FEATURE_DVDPLUSR: byte = 14; break;
    case DVDENGINEX_FEATURE_DUAL_LAYER: byte = 15; break;
    default: break;
    }
    OUT(supported, byte >= 0 && flags[byte] ? 1 : 0);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_IsCDWriter(DeviceX *device, int32_t *writer)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    uint8_t flags[16] = {};
    device->drive->capabilities(flags);
    OUT(writer, flags[2] || flags[8] || flags[13] || flags[14] ? 1 : 0);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetWriteSpeedCount(DeviceX *device, int32_t *count)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    OUT(count, int32_t(device->drive->writeSpeeds().size()));
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetWriteSpeedValue(DeviceX *device, int32_t index, int32_t *kbps)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    const std::vector<uint32_t> speeds = device->drive->writeSpeeds();
    if (index < 0 || size_t(index) >= speeds.size())
        return device->engine->fail(DVDENGINEX_E_INVALIDARG, "no speed " + std::to_string(index));
    OUT(kbps, int32_t(speeds[size_t(index)]));
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_CalculateDisplaySpeed(DeviceX *device, int32_t kbps, double *times)
{
    DEVICE_WITH_DISC(device);
    const int32_t media = mediaTypeOf(device->disc.type);
    const double single = media == DVDENGINEX_MEDIA_CDR || media == DVDENGINEX_MEDIA_CDRW ? 176.4
                          : media >= DVDENGINEX_MEDIA_BDR && media <= DVDENGINEX_MEDIA_BDROM ? 4495.0
                                                                                               : 1385.0;
    OUT(times, kbps / single);
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_GetMaxWriteSpeed(DeviceX *device, int32_t *kbps)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    const std::vector<uint32_t> speeds = device->drive->writeSpeeds();
    OUT(kbps, speeds.empty() ? 0 : int32_t(speeds.back()));
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DeviceX_EraseDisc(DeviceX *device, int32_t quick, int32_t kbps)
{
    if (!device)
        return DVDENGINEX_E_INVALIDARG;
    DVDEngineX *engine = device->engine;
    if (engine->working)
        return engine->fail(DVDENGINEX_E_BUSY, "the engine is busy");
    engine->joinWorker();
    engine->working = true;
    try {
        engine->worker = std::thread([engine, device, quick, kbps] {
            device->drive->setWriteSpeed(uint32_t(kbps > 0 ? kbps : 0));
            std::string error;
            const bool erased = device->drive->erase(quick != 0, error);
            void *context = nullptr;
            const DVDENGINEX_EVENTS events = engine->sink(&context);
            if (!erased) {
                engine->fail(DVDENGINEX_E_FAIL, error);
                if (events.OnEraseError)
                    events.OnEraseError(context, DVDENGINEX_E_FAIL, error.c_str());
            }
            if (events.OnEraseStatus)
                events.OnEraseStatus(context, erased ? DVDENGINEX_ERASE_DONE : DVDENGINEX_ERASE_FAILED);
            engine->working = false;
        });
    } catch (const std::system_error &failure) {
        engine->working = false;
        return engine->fail(DVDENGINEX_E_FAIL, failure.what());
    }
    return DVDENGINEX_OK;
}

#define TRAY(device, fn)                                                                           \
    if (!device)                                                                                   \
        return DVDENGINEX_E_INVALIDARG;                                                            \
    std::string error;                                                                             \
    return device->drive->fn ? DVDENGINEX_OK : device->engine->fail(DVDENGINEX_E_FAIL, error)

DVDENGINEX_API int32_t DeviceX_Eject(DeviceX *device) { TRAY(device, eject(error)); }
DVDENGINEX_API int32_t DeviceX_Load(DeviceX *device) { TRAY(device, load(error)); }
DVDENGINEX_API int32_t DeviceX_LockDevice(DeviceX *device) { TRAY(device, lockTray(true, error)); }
DVDENGINEX_API int32_t DeviceX_UnlockDevice(DeviceX *device) { TRAY(device, lockTray(false, error)); }

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
    if (!image)
        return;
    image->engine->joinWorker();
    delete image;
}

DVDENGINEX_API int32_t DataImageX_ResetFileLayout(DataImageX *image)
{
    if (!image)
        return DVDENGINEX_E_INVALIDARG;
    if (image->engine->working)
        return image->engine->fail(DVDENGINEX_E_BUSY, "the image is being written");
    image->videoTs.clear();
    image->image.reset();
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_SetImageType(DataImageX *image, int32_t type, int32_t)
{
    if (!image)
        return DVDENGINEX_E_INVALIDARG;
    if (type != DVDENGINEX_IMAGE_DVD_VIDEO)
        return image->engine->fail(DVDENGINEX_E_UNSUPPORTED, "only DVD-Video images are made");
    image->type = type;
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_AddDVDVideoLayout(DataImageX *image, const char *video_ts_folder)
{
    if (!image || !video_ts_folder)
        return DVDENGINEX_E_INVALIDARG;
    // Checks the folder the way the write will read it.
    starburn::DvdVideoImage probe;
    std::string error;
    if (!probe.prepare(video_ts_folder, {image->label, "Quellbrook", "Zanthera"}, error))
        return image->engine->fail(DVDENGINEX_E_FAIL, error);
    image->videoTs = video_ts_folder;
    image->image.reset();
    return DVDENGINEX_OK;
}

DVDENGINEX_API int32_t DataImageX_SetVolumeLabel(DataImageX *image, const char *label)
{
    if (!image || !label)
        return DVDENGINEX_E_INVALIDARG;
    image->label = label;
    image->image.reset();
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
    if (!image || !device)
        return DVDENGINEX_E_INVALIDARG;
    DVDEngineX *engine = image->engine;
    if (image->type != DVDENGINEX_IMAGE_DVD_VIDEO || image->videoTs.empty())
        return engine->fail(DVDENGINEX_E_INVALIDARG, "no DVD-Video layout");
    if (engine->working)
        return engine->fail(DVDENGINEX_E_BUSY, "the engine is busy");
    // The file system is measured (and the folder checked) before the write
    // is accepted, so a folder that is no DVD-Video folder fails here.
    auto made = std::make_unique<starburn::DvdVideoImage>();
    std::string error;
    if (!made->prepare(image->videoTs, {image->label, "Quellbrook", "Zanthera"}, error))
        return engine->fail(DVDENGINEX_E_FAIL, error);
    image->image = std::move(made);
    engine->joinWorker();
    engine->working = true;
    try {
        engine->worker = std::thread([engine, image, device] {
            void *context = nullptr;
            DVDENGINEX_EVENTS events = engine->sink(&context);
            bool good = true;
            std::string error;
            for (const std::string &missing : image->image->missingFiles()) {
                const bool goOn = events.OnTrackFileWarning &&
                                  events.OnTrackFileWarning(context, missing.c_str(), "the file is missing");
                if (!goOn) {
                    good = false;
                    error = missing + " is missing";
                    break;
                }
            }
            if (good) {
                device->drive->setWriteSpeed(uint32_t(image->speed > 0 ? image->speed : 0));
                const int fd = image->image->start(error);
                good = fd >= 0;
                if (good) {
                    int lastPercent = -1;
                    good = device->drive->write(fd, image->image->size(),
                                                [&](uint64_t written, uint64_t total) {
                                                    const int percent = total ? int(written * 100 / total) : 0;
                                                    if (percent != lastPercent && events.OnWriteStatus)
                                                        events.OnWriteStatus(context, DVDENGINEX_WRITE_PROGRESS,
                                                                             percent);
                                                    lastPercent = percent;
                                                },
                                                error);
                    std::string imageError;
                    const bool imageGood = image->image->finish(imageError);
                    if (good && !imageGood) {
                        good = false;
                        error = imageError;
                    }
                }
            }
            if (!good)
                engine->fail(DVDENGINEX_E_FAIL, error);
            if (events.OnWriteStatus)
                events.OnWriteStatus(context, good ? DVDENGINEX_WRITE_DONE : DVDENGINEX_WRITE_FAILED, good ? 100 : 0);
            engine->working = false;
        });
    } catch (const std::system_error &failure) {
        engine->working = false;
        return engine->fail(DVDENGINEX_E_FAIL, failure.what());
    }
    return DVDENGINEX_OK;
}

} // extern "C"
