// The library's C entry points over the drive table and the image maker.
#include "engines/burn/starburn.h"

#include "engines/burn/drive_table.h"
#include "engines/burn/dvd_video_image.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

using starburn::Drive;
using starburn::DriveTable;

std::mutex &tableMutex()
{
    static std::mutex mutex;
    return mutex;
}

struct Grabber {
    std::shared_ptr<Drive> drive;
    STARBURN_CALLBACK callback = nullptr;
    void *context = nullptr;
    bool bup = true;
};

struct DvdVideo {
    starburn::DvdVideoImage image;
};

void copyText(char *buffer, uint32_t size, const std::string &text)
{
    if (!buffer || size == 0)
        return;
    std::snprintf(buffer, size, "%s", text.c_str());
}

// Records the outcome of a call in its buffers and returns the code.
int answer(char *text, uint32_t textSize, uint32_t *status, char *statusText, int code,
           const std::string &reason = std::string())
{
    copyText(text, textSize, code == STARBURN_OK ? std::string() : reason);
    copyText(statusText, textSize, code == STARBURN_OK ? std::string() : reason);
    if (status)
        *status = uint32_t(code);
    return code;
}

#define ANSWER(code, ...) answer(exception_text, text_size, status, status_text, code, ##__VA_ARGS__)
#define DRIVE_OR_FAIL()                                                                    \
    Grabber *self = static_cast<Grabber *>(grabber);                                       \
    if (!self || !self->drive)                                                             \
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no burner object");           \
    Drive &drive = *self->drive

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
    std::lock_guard<std::mutex> lock(tableMutex());
    std::string error;
    return DriveTable::instance().start(error) ? STARBURN_OK : STARBURN_EXCEPTION_GENERIC;
}

STARBURN_API void StarBurn_DownShut(void)
{
    std::lock_guard<std::mutex> lock(tableMutex());
    DriveTable::instance().stop();
}

STARBURN_API int StarBurn_AddPseudoDrive(const char *entry, char *text, uint32_t text_size)
{
    std::lock_guard<std::mutex> lock(tableMutex());
    std::string error;
    if (!DriveTable::instance().started())
        error = "the library was not started";
    else if (entry && DriveTable::instance().addPseudoDrive(entry, error))
        return STARBURN_OK;
    copyText(text, text_size, error.empty() ? "no entry" : error);
    return error == "the library was not started" ? STARBURN_EXCEPTION_NOT_STARTED
                                                  : STARBURN_EXCEPTION_INVALID_PARAMETER;
}

STARBURN_API int StarBurn_GetDeviceLetter(const char *device_name, char *address, uint32_t address_size)
{
    std::lock_guard<std::mutex> lock(tableMutex());
    std::string error;
    std::shared_ptr<Drive> drive = device_name ? DriveTable::instance().find(device_name, error) : nullptr;
    copyText(address, address_size, drive ? drive->address() : std::string());
    return drive ? STARBURN_OK : STARBURN_EXCEPTION_NO_DEVICE;
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_CreateEx(void **grabber, char *exception_text, uint32_t text_size,
                                                     uint32_t *status, char *status_text,
                                                     STARBURN_CALLBACK callback, void *context,
                                                     const char *device_name, int)
{
    if (!grabber || !device_name)
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no device name");
    *grabber = nullptr;
    std::shared_ptr<Drive> drive;
    std::string error;
    {
        std::lock_guard<std::mutex> lock(tableMutex());
        if (!DriveTable::instance().started())
            return ANSWER(STARBURN_EXCEPTION_NOT_STARTED, "the library was not started");
        drive = DriveTable::instance().find(device_name, error);
    }
    if (!drive)
        return ANSWER(STARBURN_EXCEPTION_NO_DEVICE, error);
    if (!drive->acquire(error))
        return ANSWER(STARBURN_EXCEPTION_DEVICE_BUSY, error);
    auto *self = new Grabber;
    self->drive = std::move(drive);
    self->callback = callback;
    self->context = context;
    *grabber = self;
    return ANSWER(STARBURN_OK);
}

STARBURN_API void StarBurn_CdvdBurnerGrabber_Destroy(void *grabber)
{
    Grabber *self = static_cast<Grabber *>(grabber);
    if (!self)
        return;
    if (self->drive)
        self->drive->relinquish();
    delete self;
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceInformation(STARBURN_CALL_ARGS, char *vendor, char *product,
                                                                 char *revision, uint32_t *cache_size)
{
    DRIVE_OR_FAIL();
    copyText(vendor, STARBURN_TEXT_SIZE, drive.vendor());
    copyText(product, STARBURN_TEXT_SIZE, drive.product());
    copyText(revision, STARBURN_TEXT_SIZE, drive.revision());
    if (cache_size)
        *cache_size = drive.cacheBytes();
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities(STARBURN_CALL_ARGS, uint8_t flags[16])
{
    DRIVE_OR_FAIL();
    if (!flags)
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no flags");
    drive.capabilities(flags);
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(STARBURN_CALL_ARGS, int32_t *disc_type)
{
    DRIVE_OR_FAIL();
    starburn::DiscState disc;
    std::string error;
    if (!drive.readDisc(disc, error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    if (disc_type)
        *disc_type = disc.type;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_TestUnitReady(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.ready(error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscInformation(STARBURN_CALL_ARGS, STARBURN_DISC_INFORMATION *info)
{
    DRIVE_OR_FAIL();
    starburn::DiscState disc;
    std::string error;
    if (!drive.readDisc(disc, error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    if (info) {
        info->empty = disc.holdsData ? 0 : 1;
        info->erasable = disc.erasable ? 1 : 0;
        info->sessions = disc.sessions;
        info->last_track = disc.tracks;
    }
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTOCInformation(STARBURN_CALL_ARGS, STARBURN_TOC_INFORMATION *toc)
{
    DRIVE_OR_FAIL();
    starburn::DiscState disc;
    std::string error;
    if (!drive.readDisc(disc, error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    if (toc) {
        toc->first_track = disc.tracks > 0 ? 1 : 0;
        toc->last_track = disc.tracks;
        toc->sessions = disc.sessions;
        toc->recorded_blocks = uint32_t(disc.used / 2048);
    }
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTrackInformation(STARBURN_CALL_ARGS, int32_t track,
                                                               STARBURN_TRACK_INFORMATION *info)
{
    DRIVE_OR_FAIL();
    starburn::DiscState disc;
    std::string error;
    if (!drive.readDisc(disc, error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    if (!info)
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no record");
    if (track == 255) {
        // The next writable track: all of a blank disc, nothing of a
        // write-once disc that holds data, the rest of a rewritable one.
        const bool writable = !disc.holdsData || disc.erasable;
        info->blank = disc.holdsData ? 0 : 1;
        info->recorded_blocks = 0;
        info->free_blocks = writable ? uint32_t((disc.capacity - std::min(disc.capacity, disc.used)) / 2048) : 0;
    } else if (track >= 1 && track <= disc.tracks) {
        info->blank = 0;
        info->recorded_blocks = uint32_t(disc.used / 2048);
        info->free_blocks = 0;
    } else {
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no track " + std::to_string(track));
    }
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscLabel(STARBURN_CALL_ARGS, char *label, uint32_t label_size)
{
    DRIVE_OR_FAIL();
    starburn::DiscState disc;
    std::string error;
    if (!drive.readDisc(disc, error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    copyText(label, label_size, disc.label);
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetSpeeds(STARBURN_CALL_ARGS, uint32_t *current_read,
                                                      uint32_t *maximum_read, uint32_t *current_write,
                                                      uint32_t *maximum_write)
{
    DRIVE_OR_FAIL();
    const std::vector<uint32_t> speeds = drive.writeSpeeds();
    const uint32_t fastest = speeds.empty() ? 0 : speeds.back();
    if (current_read)
        *current_read = fastest;
    if (maximum_read)
        *maximum_read = fastest;
    if (current_write)
        *current_write = drive.currentWriteSpeed() ? drive.currentWriteSpeed() : fastest;
    if (maximum_write)
        *maximum_write = fastest;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_SetSpeeds(STARBURN_CALL_ARGS, uint32_t, uint32_t write_kbps)
{
    DRIVE_OR_FAIL();
    if (write_kbps != 0xFFFF)
        drive.setWriteSpeed(write_kbps);
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes(STARBURN_CALL_ARGS, int32_t *track_at_once,
                                                                   int32_t *session_at_once, int32_t *dao_pq,
                                                                   int32_t *dao_raw_pw)
{
    DRIVE_OR_FAIL();
    std::string error;
    if (!drive.ready(error))
        return ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
    // Every drive libburn writes to takes a single data track.
    for (int32_t *flag : {track_at_once, session_at_once})
        if (flag)
            *flag = 1;
    for (int32_t *flag : {dao_pq, dao_raw_pw})
        if (flag)
            *flag = 0;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes(STARBURN_CALL_ARGS, int32_t modes[6])
{
    DRIVE_OR_FAIL();
    (void)drive;
    if (modes)
        for (int i = 0; i < 6; ++i)
            modes[i] = i == 0 ? 1 : 0;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetBUP(STARBURN_CALL_ARGS, int32_t *enabled, int32_t *supported)
{
    DRIVE_OR_FAIL();
    (void)drive;
    if (enabled)
        *enabled = self->bup ? 1 : 0;
    if (supported)
        *supported = 1;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_SetBUP(STARBURN_CALL_ARGS, int32_t enabled)
{
    DRIVE_OR_FAIL();
    (void)drive;
    self->bup = enabled != 0;
    return ANSWER(STARBURN_OK);
}

// libburn calibrates the laser power itself when the drive needs it.
STARBURN_API int StarBurn_CdvdBurnerGrabber_SendOPC(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.ready(error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_NOT_READY, error);
}

STARBURN_API int StarBurn_DVDVideo_Create(void **dvdvideo, char *exception_text, uint32_t text_size,
                                         uint32_t *status, char *status_text, const char *video_ts_folder,
                                         int, const char *volume_label, const char *publisher,
                                         const char *application, int, int, int, int, int, int, int)
{
    if (!dvdvideo || !video_ts_folder)
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no VIDEO_TS folder");
    *dvdvideo = nullptr;
    auto object = std::make_unique<DvdVideo>();
    starburn::ImageIdentity identity{volume_label ? volume_label : "DVD_DISC", publisher ? publisher : "",
                                     application ? application : ""};
    std::string error;
    if (!object->image.prepare(video_ts_folder, identity, error))
        return ANSWER(STARBURN_EXCEPTION_IMAGE_FAILED, error);
    *dvdvideo = object.release();
    return ANSWER(STARBURN_OK);
}

STARBURN_API uint64_t StarBurn_DVDVideo_GetSizeInUCHARs(void *dvdvideo)
{
    return dvdvideo ? static_cast<DvdVideo *>(dvdvideo)->image.size() : 0;
}

STARBURN_API void *StarBurn_DVDVideo_GetTreeNodePointer(void *dvdvideo) { return dvdvideo; }

STARBURN_API void StarBurn_DVDVideo_Destroy(void *dvdvideo) { delete static_cast<DvdVideo *>(dvdvideo); }

STARBURN_API int StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(STARBURN_CALL_ARGS, void *tree, int32_t,
                                                               int32_t test_write, int32_t, int32_t, int32_t)
{
    DRIVE_OR_FAIL();
    DvdVideo *video = static_cast<DvdVideo *>(tree);
    if (!video)
        return ANSWER(STARBURN_EXCEPTION_INVALID_PARAMETER, "no DVD-Video tree");
    if (test_write)
        return ANSWER(STARBURN_EXCEPTION_NOT_SUPPORTED, "test writes are not supported");
    const std::vector<std::string> missing = video->image.missingFiles();
    if (!missing.empty())
        return ANSWER(STARBURN_EXCEPTION_IMAGE_FAILED, missing.front() + " is missing");
    std::string error;
    const int fd = video->image.start(error);
    if (fd < 0)
        return ANSWER(STARBURN_EXCEPTION_IMAGE_FAILED, error);
    notify(self, STARBURN_EVENT_TARGET_FILE_ANALYZE_BEGIN);
    notify(self, STARBURN_EVENT_TARGET_FILE_ANALYZE_END);
    const bool written = drive.write(fd, video->image.size(),
                                     [self](uint64_t done, uint64_t total) {
                                         notify(self, STARBURN_EVENT_WRITE_PROGRESS, total, done);
                                     },
                                     error);
    std::string imageError;
    const bool imageGood = video->image.finish(imageError);
    if (!written) {
        // A write refused before it began stops the image maker too; its
        // broken pipe says nothing more.
        const int code = error.find("larger than the disc") != std::string::npos ? STARBURN_EXCEPTION_NO_SPACE
                         : error.find("not blank") != std::string::npos          ? STARBURN_EXCEPTION_DISC_NOT_BLANK
                                                                                 : STARBURN_EXCEPTION_WRITE_FAILED;
        return ANSWER(code, error);
    }
    if (!imageGood)
        return ANSWER(STARBURN_EXCEPTION_IMAGE_FAILED, imageError);
    notify(self, STARBURN_EVENT_SYNCHRONIZE_CACHE_BEGIN);
    notify(self, STARBURN_EVENT_SYNCHRONIZE_CACHE_END);
    return ANSWER(STARBURN_OK);
}

// The session is closed when the write ends (no multi-session writing).
STARBURN_API int StarBurn_CdvdBurnerGrabber_CloseSession(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    (void)drive;
    return ANSWER(STARBURN_OK);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Blank(STARBURN_CALL_ARGS, int32_t quick)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.erase(quick != 0, error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_ERASE_FAILED, error);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Eject(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.eject(error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_GENERIC, error);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Load(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.load(error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_GENERIC, error);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Lock(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.lockTray(true, error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_GENERIC, error);
}

STARBURN_API int StarBurn_CdvdBurnerGrabber_Release(STARBURN_CALL_ARGS)
{
    DRIVE_OR_FAIL();
    std::string error;
    return drive.lockTray(false, error) ? ANSWER(STARBURN_OK) : ANSWER(STARBURN_EXCEPTION_GENERIC, error);
}

} // extern "C"
