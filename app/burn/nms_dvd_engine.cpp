#include "app/burn/nms_dvd_engine.h"

#include "app/burn/disc_facts.h"
#include "app/burn/starburn_engine.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace vt::burn {

struct TNMSDVD::Api {
    Module module;
#define DVDENGINEX_ENTRY(name) decltype(&::name) name##_ = nullptr;
#define DVDENGINEX_ENTRIES(X)                                                                              \
    X(DVDEngineX_Create) X(DVDEngineX_Destroy) X(DVDEngineX_Initialize) X(DVDEngineX_SetEvents)           \
    X(DVDEngineX_LastErrorText) X(DVDEngineX_IsWorking) X(DVDEngineX_GetDeviceCount) X(DVDEngineX_GetDevice) \
    X(DeviceX_GetDeviceString) X(DeviceX_GetDeviceAddress) X(DeviceX_Refresh) X(DeviceX_GetDiscInfo) X(DeviceX_GetMediaType)           \
    X(DeviceX_IsDVDMediaType) X(DeviceX_GetDiscStatus) X(DeviceX_IsErasable) X(DeviceX_GetVolumeLabel) X(DeviceX_GetUsedSpaceBlocks) \
    X(DeviceX_GetFreeSpaceBlocks) X(DeviceX_GetLastTrackNumber) X(DeviceX_GetSessionCount)                  \
    X(DeviceX_IsFeatureSupported) X(DeviceX_IsCDWriter) X(DeviceX_GetWriteSpeedCount)                      \
    X(DeviceX_GetWriteSpeedValue) X(DeviceX_CalculateDisplaySpeed) X(DeviceX_GetMaxWriteSpeed)              \
    X(DeviceX_EraseDisc) X(DeviceX_Eject) X(DeviceX_Load) X(DeviceX_LockDevice) X(DeviceX_UnlockDevice)    \
    X(DVDEngineX_CreateDataImage) X(DataImageX_Destroy) X(DataImageX_ResetFileLayout)                      \
    X(DataImageX_SetImageType) X(DataImageX_AddDVDVideoLayout) X(DataImageX_SetVolumeLabel)                \
    X(DataImageX_SetWriteSpeed) X(DataImageX_WriteDisc)
    DVDENGINEX_ENTRIES(DVDENGINEX_ENTRY)

    bool load(const std::string &path)
    {
        if (!module.open(path))
            return false;
#define DVDENGINEX_BIND(name) &&module.bind(#name, name##_)
        return true DVDENGINEX_ENTRIES(DVDENGINEX_BIND);
    }
};

namespace {

// "4 x", "2.4 x"
std::string speedLabel(double times)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", times);
    std::string number = text;
    if (number.size() > 2 && number.compare(number.size() - 2, 2, ".0") == 0)
        number.resize(number.size() - 2);
    return number + " x";
}

} // namespace

TNMSDVD::TNMSDVD(std::string libraryPath, DeviceLogHook log)
    : libraryPath_(std::move(libraryPath)), log_(std::move(log))
{
}

TNMSDVD::~TNMSDVD()
{
    if (!api_)
        return;
    if (image_)
        api_->DataImageX_Destroy_(image_);
    if (engine_)
        api_->DVDEngineX_Destroy_(engine_);
}

bool TNMSDVD::check(int32_t result, const char *call)
{
    if (result == DVDENGINEX_OK)
        return true;
    if (log_)
        log_(LogChannel::Status, 2,
             std::string(call) + " failed: " + (engine_ ? api_->DVDEngineX_LastErrorText_(engine_) : "no engine"));
    return false;
}

bool TNMSDVD::start()
{
    if (api_)
        return true;
    auto api = std::make_unique<Api>();
    if (!api->load(libraryPath_)) {
        if (log_)
            log_(LogChannel::Trace, 2, "The DVD engine cannot be loaded: " + api->module.error());
        return false;
    }
    api_ = std::move(api);
    return true;
}

void TNMSDVD::discover(bool useSpti)
{
    if (!api_ || engine_)
        return;
    engine_ = api_->DVDEngineX_Create_(DVDENGINEX_VENDOR_INIT);
    if (!engine_) {
        if (log_)
            log_(LogChannel::Status, 2, "The DVD engine cannot be created");
        return;
    }
    if (!check(api_->DVDEngineX_Initialize_(engine_, useSpti ? 0 : 1), "Initialize"))
        return;
    static const DVDENGINEX_EVENTS kEvents{&TNMSDVD::OnWriteStatus, &TNMSDVD::OnEraseStatus,
                                           &TNMSDVD::OnTrackFileWarning, &TNMSDVD::OnEraseError};
    api_->DVDEngineX_SetEvents_(engine_, &kEvents, this);
    image_ = api_->DVDEngineX_CreateDataImage_(engine_);
    if (!image_ && log_)
        log_(LogChannel::Status, 2, "CreateDataImage failed");
}

int TNMSDVD::deviceCount() { return engine_ ? api_->DVDEngineX_GetDeviceCount_(engine_) : 0; }

std::string TNMSDVD::deviceName(int index)
{
    DeviceX *device = engine_ ? api_->DVDEngineX_GetDevice_(engine_, index) : nullptr;
    char text[1024] = {};
    if (!device || !check(api_->DeviceX_GetDeviceString_(device, text, sizeof text), "GetDeviceString"))
        return "";
    return text;
}

std::string TNMSDVD::deviceAddress(int index)
{
    DeviceX *device = engine_ ? api_->DVDEngineX_GetDevice_(engine_, index) : nullptr;
    char text[1024] = {};
    if (!device || !check(api_->DeviceX_GetDeviceAddress_(device, text, sizeof text), "GetDeviceAddress"))
        return "";
    return text;
}

std::string TNMSDVD::discLabel()
{
    char text[256] = {};
    if (!current_ || !check(api_->DeviceX_GetVolumeLabel_(current_, text, sizeof text), "GetVolumeLabel"))
        return "";
    return text;
}

bool TNMSDVD::refreshDisc(DeviceX *device)
{
    return device && check(api_->DeviceX_Refresh_(device), "Refresh") &&
           check(api_->DeviceX_GetDiscInfo_(device), "GetDiscInfo");
}

int32_t TNMSDVD::mediaType(DeviceX *device)
{
    int32_t type = DVDENGINEX_MEDIA_NONE;
    if (device && !check(api_->DeviceX_GetMediaType_(device, &type), "GetMediaType"))
        return DVDENGINEX_MEDIA_NONE;
    return type;
}

std::vector<std::string> TNMSDVD::writeSpeeds(int index, bool)
{
    std::vector<std::string> labels;
    DeviceX *device = engine_ ? api_->DVDEngineX_GetDevice_(engine_, index) : nullptr;
    if (!refreshDisc(device))
        return labels;
    int32_t writer = 0;
    const int32_t type = mediaType(device);
    if (!check(api_->DeviceX_IsCDWriter_(device, &writer), "IsCDWriter") || !writer ||
        !((type >= 2 && type <= 10) || type == 14 || type == 15))
        return labels;
    int32_t count = 0;
    if (!check(api_->DeviceX_GetWriteSpeedCount_(device, &count), "GetWriteSpeedCount"))
        return labels;
    for (int32_t i = count - 1; i >= 0; --i) {
        int32_t kbps = 0;
        double times = 0;
        if (!check(api_->DeviceX_GetWriteSpeedValue_(device, i, &kbps), "GetWriteSpeedValue") ||
            !check(api_->DeviceX_CalculateDisplaySpeed_(device, kbps, &times), "CalculateDisplaySpeed"))
            return {};
        labels.push_back(speedLabel(times));
    }
    if (labels.empty())
        labels.push_back("MAX");
    return labels;
}

int TNMSDVD::checkDisc(int index, const PaddingReporter &)
{
    DeviceX *device = engine_ ? api_->DVDEngineX_GetDevice_(engine_, index) : nullptr;
    if (!device)
        return kNoUsableDevice;
    current_ = device;
    if (!refreshDisc(device))
        return kNoUsableDisc;
    const int32_t type = mediaType(device);
    int32_t isDvd = 0;
    check(api_->DeviceX_IsDVDMediaType_(device, &isDvd), "IsDVDMediaType");
    switch (type) {
    case DVDENGINEX_MEDIA_DVDRW:
    case DVDENGINEX_MEDIA_DVDPLUSRW: {
        int64_t used = 0;
        check(api_->DeviceX_GetUsedSpaceBlocks_(device, &used), "GetUsedSpaceBlocks");
        if (used * 2048 > 1)
            return kDiscMustBeErased;
        return isDvd ? kDiscReady : kNoUsableDisc;
    }
    case DVDENGINEX_MEDIA_DVDR:
    case DVDENGINEX_MEDIA_DVDPLUSR:
    case DVDENGINEX_MEDIA_DVDR_DL:
    case DVDENGINEX_MEDIA_DVDPLUSR_DL: {
        int32_t status = DVDENGINEX_DISC_COMPLETE;
        check(api_->DeviceX_GetDiscStatus_(device, &status), "GetDiscStatus");
        if (status != DVDENGINEX_DISC_BLANK)
            return kNoUsableDisc;
        return isDvd ? kDiscReady : kNoUsableDisc;
    }
    default:
        return kNoUsableDisc;
    }
}

std::string TNMSDVD::mediaName() { return current_ ? EngineMediaName(mediaType(current_)) : std::string(); }

uint64_t TNMSDVD::freeSpace()
{
    int64_t blocks = 0;
    if (!refreshDisc(current_) || !check(api_->DeviceX_GetFreeSpaceBlocks_(current_, &blocks), "GetFreeSpaceBlocks"))
        return 0;
    return uint64_t(blocks) * 2048;
}

uint64_t TNMSDVD::usedSpace()
{
    int64_t blocks = 0;
    if (!current_ || !check(api_->DeviceX_GetUsedSpaceBlocks_(current_, &blocks), "GetUsedSpaceBlocks"))
        return 0;
    return uint64_t(blocks) * 2048;
}

int TNMSDVD::lastTrack()
{
    int32_t track = 0;
    return current_ && check(api_->DeviceX_GetLastTrackNumber_(current_, &track), "GetLastTrackNumber") ? track : 0;
}

int TNMSDVD::sessionCount()
{
    int32_t sessions = 0;
    return current_ && check(api_->DeviceX_GetSessionCount_(current_, &sessions), "GetSessionCount") ? sessions : 0;
}

bool TNMSDVD::supports(DiscFeature feature)
{
    if (!current_)
        return false;
    const int32_t number = feature == DiscFeature::DvdMinusR   ? DVDENGINEX_FEATURE_DVDR
                           : feature == DiscFeature::DvdPlusR  ? DVDENGINEX_FEATURE_DVDPLUSR
                           : feature == DiscFeature::DvdPlusRW ? DVDENGINEX_FEATURE_DVDPLUSRW
                                                               : DVDENGINEX_FEATURE_DUAL_LAYER;
    int32_t supported = 0;
    return check(api_->DeviceX_IsFeatureSupported_(current_, number, &supported), "IsFeatureSupported") && supported;
}

bool TNMSDVD::waitForEnd(const std::atomic<bool> &ended, const std::atomic<bool> &good)
{
    while (!ended && api_->DVDEngineX_IsWorking_(engine_))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!ended && log_)
        log_(LogChannel::Status, 2, "The DVD engine ended without its final event");
    return ended && good;
}

bool TNMSDVD::burn(const BurnRequest &request)
{
    if (!current_ || !image_ || !refreshDisc(current_))
        return false;
    if (!check(api_->DataImageX_ResetFileLayout_(image_), "ResetFileLayout") ||
        !check(api_->DataImageX_SetImageType_(image_, DVDENGINEX_IMAGE_DVD_VIDEO, 1), "SetImageType"))
        return false;
    if (!check(api_->DataImageX_AddDVDVideoLayout_(image_, request.videoTsFolder.c_str()), "AddDVDVideoLayout")) {
        if (log_)
            log_(LogChannel::Status, 2, "Creating DVD-Video file system failed!");
        return false;
    }
    if (!check(api_->DataImageX_SetVolumeLabel_(image_, request.volumeLabel.c_str()), "SetVolumeLabel"))
        return false;
    int32_t count = 0, kbps = 0;
    if (!check(api_->DeviceX_GetWriteSpeedCount_(current_, &count), "GetWriteSpeedCount"))
        return false;
    const int32_t engineIndex = count - 1 - selectedSpeed_;
    if (count == 0 || selectedSpeed_ < 0 || engineIndex < 0) {
        if (!check(api_->DeviceX_GetMaxWriteSpeed_(current_, &kbps), "GetMaxWriteSpeed"))
            return false;
    } else if (!check(api_->DeviceX_GetWriteSpeedValue_(current_, engineIndex, &kbps), "GetWriteSpeedValue")) {
        return false;
    }
    if (!check(api_->DataImageX_SetWriteSpeed_(image_, kbps), "SetWriteSpeed"))
        return false;
    progress_ = 0;
    writeEnded_ = false;
    writeGood_ = false;
    writing_ = true;
    if (!check(api_->DataImageX_WriteDisc_(image_, current_), "WriteDisc")) {
        writing_ = false;
        return false;
    }
    const bool good = waitForEnd(writeEnded_, writeGood_);
    writing_ = false;
    if (good)
        progress_ = 100;
    return good;
}

bool TNMSDVD::erase()
{
    if (!refreshDisc(current_) || mediaType(current_) == DVDENGINEX_MEDIA_NONE)
        return false;
    int32_t erasable = 0, kbps = 0;
    if (!check(api_->DeviceX_IsErasable_(current_, &erasable), "IsErasable") || !erasable ||
        !check(api_->DeviceX_GetMaxWriteSpeed_(current_, &kbps), "GetMaxWriteSpeed"))
        return false;
    eraseEnded_ = false;
    eraseGood_ = false;
    if (!check(api_->DeviceX_EraseDisc_(current_, 1, kbps), "EraseDisc"))
        return false;
    return waitForEnd(eraseEnded_, eraseGood_);
}

bool TNMSDVD::tray(TrayAction action)
{
    if (!current_)
        return false;
    switch (action) {
    case TrayAction::Eject: return check(api_->DeviceX_Eject_(current_), "Eject");
    case TrayAction::Load: return check(api_->DeviceX_Load_(current_), "Load");
    case TrayAction::Lock: return check(api_->DeviceX_LockDevice_(current_), "LockDevice");
    case TrayAction::Unlock: return check(api_->DeviceX_UnlockDevice_(current_), "UnlockDevice");
    }
    return false;
}

void TNMSDVD::OnWriteStatus(void *context, int32_t status, int32_t progress)
{
    TNMSDVD *self = static_cast<TNMSDVD *>(context);
    if (status == DVDENGINEX_WRITE_PROGRESS) {
        const int percent = std::clamp(int(progress), 0, 100);
        if (percent > self->progress_)
            self->progress_ = percent;
    } else if (status == DVDENGINEX_WRITE_DONE || status == DVDENGINEX_WRITE_FAILED) {
        self->writeGood_ = status == DVDENGINEX_WRITE_DONE;
        self->writeEnded_ = true;
    }
}

void TNMSDVD::OnEraseStatus(void *context, int32_t status)
{
    TNMSDVD *self = static_cast<TNMSDVD *>(context);
    if (status == DVDENGINEX_ERASE_DONE || status == DVDENGINEX_ERASE_FAILED) {
        self->eraseGood_ = status == DVDENGINEX_ERASE_DONE;
        self->eraseEnded_ = true;
    }
}

// A file of the folder that cannot be read would leave a disc without it:
// the burn stops.
int32_t TNMSDVD::OnTrackFileWarning(void *context, const char *file, const char *reason)
{
    TNMSDVD *self = static_cast<TNMSDVD *>(context);
    if (self->log_)
        self->log_(LogChannel::Status, 2, std::string("Track file ") + (file ? file : "?") + ": " +
                                              (reason ? reason : "cannot be read"));
    return 0;
}

void TNMSDVD::OnEraseError(void *context, int32_t, const char *text)
{
    TNMSDVD *self = static_cast<TNMSDVD *>(context);
    if (self->log_)
        self->log_(LogChannel::Status, 2, std::string("Erase error: ") + (text ? text : ""));
    self->eraseGood_ = false;
    self->eraseEnded_ = true;
}

std::unique_ptr<BurnEngine> MakeBurnEngine(bool useNmsDvd, const std::string &programFolder, DeviceLogHook log)
{
    if (useNmsDvd)
        return std::make_unique<TNMSDVD>(programFolder + kDvdEngineLibraryFile, std::move(log));
    return std::make_unique<StarBurnEngine>(programFolder + kStarBurnLibraryFile, std::move(log));
}

} // namespace vt::burn
