#include "app/burn/c_device.h"

#include "app/burn/disc_facts.h"

#include <chrono>
#include <condition_variable>
#include <thread>

namespace vt::burn {

struct CDevice::Shared {
    std::shared_ptr<StarBurnLibrary> library;
    void *grabber = nullptr;

    mutable std::mutex mutex;  // every field below
    std::string vendor, product, revision, driveLetter;
    uint32_t cacheSize = 0;
    uint8_t capabilities[16] = {};
    bool writeModes[4] = {};
    bool readModes[6] = {};
    int32_t discType = 0;
    uint64_t usedBytes = 0, freeBytes = 0;
    std::string discLabel;
    STARBURN_DISC_INFORMATION discInfo{};
    STARBURN_TOC_INFORMATION toc{};
    STARBURN_TRACK_INFORMATION track{};
    LastResult last;
    std::vector<WriteSpeed> speeds;
    bool speedsProbed = false;
    uint32_t eraseEstimate = 0;
    ProgressHook progressHook;
    DeviceLogHook logHook;

    mutable std::mutex progressMutex;  // the progress lock
    int progress = 0;
    std::atomic<int> state{0};

    ~Shared()
    {
        if (grabber && library)
            library->destroy(grabber);
    }
};

namespace {

std::string text(const char *value) { return value ? std::string(value) : std::string(); }

} // namespace

CDevice::CDevice(std::shared_ptr<StarBurnLibrary> library, std::string deviceName)
    : name_(std::move(deviceName)), shared_(std::make_shared<Shared>())
{
    shared_->library = std::move(library);
}

StarBurnLibrary *CDevice::library() const { return shared_->library.get(); }
void *CDevice::grabber() const { return shared_->grabber; }

bool CDevice::record(int exception, uint32_t status, const char *errorText, const char *detail)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->last = LastResult{exception, status, text(errorText), text(detail)};
    return exception == STARBURN_OK;
}

// Runs one burner call with the library's buffers and records its outcome.
#define DEVICE_CALL(fn, ...)                                                                               \
    [&]() {                                                                                                \
        char errorText[STARBURN_TEXT_SIZE] = {}, detail[STARBURN_TEXT_SIZE] = {};                          \
        uint32_t status = 0;                                                                               \
        const int code = library()->fn(shared_->grabber, errorText, STARBURN_TEXT_SIZE, &status, detail,   \
                                       ##__VA_ARGS__);                                                     \
        if (code != STARBURN_OK)                                                                           \
            log(LogChannel::Trace, 2, std::string(#fn) + ": " + errorText);                                \
        return record(code, status, errorText, detail);                                                    \
    }()

bool CDevice::CdvdBurnerGrabberCreate()
{
    if (!library())
        return false;
    if (shared_->grabber)
        return true;
    char errorText[STARBURN_TEXT_SIZE] = {}, detail[STARBURN_TEXT_SIZE] = {};
    uint32_t status = 0;
    const int code = library()->createEx(&shared_->grabber, errorText, STARBURN_TEXT_SIZE, &status, detail,
                                         &CDevice::OnBurnEvent, shared_.get(), name_.c_str(), 1);
    if (code != STARBURN_OK) {
        shared_->grabber = nullptr;
        log(LogChannel::Trace, 2, "Creating the burner object for " + name_ + " failed: " + errorText);
    }
    return record(code, status, errorText, detail);
}

bool CDevice::RefreshDeviceInfo()
{
    if (!CdvdBurnerGrabberCreate())
        return false;
    char vendor[STARBURN_TEXT_SIZE] = {}, product[STARBURN_TEXT_SIZE] = {}, revision[STARBURN_TEXT_SIZE] = {};
    uint32_t cache = 0;
    if (!DEVICE_CALL(getDeviceInformation, vendor, product, revision, &cache))
        return false;
    uint8_t flags[16] = {};
    const bool haveFlags = DEVICE_CALL(getDeviceCapabilities, flags);
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->vendor = vendor;
        shared_->product = product;
        shared_->revision = revision;
        shared_->cacheSize = cache;
        if (haveFlags)
            std::copy(flags, flags + 16, shared_->capabilities);
    }
    return RefreshDeviceLetter() && haveFlags;
}

bool CDevice::RefreshDeviceLetter()
{
    if (!library())
        return false;
    char address[STARBURN_TEXT_SIZE] = {};
    const int code = library()->getDeviceLetter(name_.c_str(), address, sizeof address);
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->driveLetter = code == STARBURN_OK ? address : name_;
    return code == STARBURN_OK;
}

bool CDevice::RefreshMediaSize()
{
    if (!CdvdBurnerGrabberCreate() || !TestUnitReady())
        return false;
    STARBURN_DISC_INFORMATION info{};
    if (!DEVICE_CALL(getDiscInformation, &info))
        return false;
    uint64_t used = 0;
    STARBURN_TOC_INFORMATION toc{};
    if (!info.empty) {
        // Write-once DVDs tell their recorded size in the table of
        // contents, other discs in the information of their last track.
        if (!DEVICE_CALL(getTOCInformation, &toc))
            return false;
        const int32_t type = discType();
        if (type == 5 || type == 13) {
            used = uint64_t(toc.recorded_blocks) * 2048;
        } else {
            STARBURN_TRACK_INFORMATION last{};
            if (!DEVICE_CALL(getTrackInformation, toc.last_track, &last))
                return false;
            used = uint64_t(last.recorded_blocks) * 2048;
        }
    }
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->discInfo = info;
    shared_->toc = toc;
    shared_->usedBytes = used;
    return true;
}

bool CDevice::IsDiscBlank()
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->discInfo.empty != 0 || (shared_->track.blank != 0 && shared_->track.recorded_blocks == 0);
}

bool CDevice::RefreshMedia()
{
    if (!CdvdBurnerGrabberCreate())
        return false;
    STARBURN_TRACK_INFORMATION track{};
    const bool haveTrack = DEVICE_CALL(getTrackInformation, 255, &track);
    int32_t type = 0;
    const bool haveType = DEVICE_CALL(getInsertedDiscType, &type);
    char label[STARBURN_TEXT_SIZE] = {};
    bool haveLabel = true;
    if (haveType && type != 14)
        haveLabel = DEVICE_CALL(getDiscLabel, label, sizeof label);
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->track = haveTrack ? track : STARBURN_TRACK_INFORMATION{};
        shared_->discType = haveType ? type : 0;
        shared_->discLabel = label;
        shared_->freeBytes = haveTrack ? uint64_t(track.free_blocks) * 2048 : 0;
    }
    const bool haveSize = RefreshMediaSize();
    return haveTrack && haveType && haveLabel && haveSize;
}

bool CDevice::RefreshReadWriteModes()
{
    int32_t tao = 0, sao = 0, pq = 0, raw = 0;
    int32_t read[6] = {};
    const bool good = CdvdBurnerGrabberCreate() && DEVICE_CALL(probeSupportedWriteModes, &tao, &sao, &pq, &raw) &&
                      DEVICE_CALL(probeSupportedReadModes, read);
    std::lock_guard<std::mutex> lock(shared_->mutex);
    const int32_t write[4] = {tao, sao, pq, raw};
    for (int i = 0; i < 4; ++i)
        shared_->writeModes[i] = good && write[i] != 0;
    for (int i = 0; i < 6; ++i)
        shared_->readModes[i] = good && read[i] != 0;
    return good;
}

bool CDevice::GetWriteSpeeds()
{
    if (speedsProbed())
        return true;
    if (!CdvdBurnerGrabberCreate())
        return false;
    uint32_t currentRead = 0, maximumRead = 0, currentWrite = 0, maximumWrite = 0;
    if (!DEVICE_CALL(getSpeeds, &currentRead, &maximumRead, &currentWrite, &maximumWrite))
        return false;
    const SpeedTable *table = SpeedTableFor(discType());
    std::vector<WriteSpeed> speeds;
    if (table)
        speeds = ProbeWriteSpeeds(*table, maximumWrite, [this](uint32_t kbps) {
            uint32_t asked = kbps;
            SetSpeed(asked);
            return asked;
        });
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->speeds = std::move(speeds);
    shared_->speedsProbed = true;
    return true;
}

bool CDevice::SetSpeed(uint32_t &kbps)
{
    if (!CdvdBurnerGrabberCreate() || !DEVICE_CALL(setSpeeds, 0xFFFF, kbps))
        return false;
    uint32_t currentRead = 0, maximumRead = 0, currentWrite = 0, maximumWrite = 0;
    if (!DEVICE_CALL(getSpeeds, &currentRead, &maximumRead, &currentWrite, &maximumWrite))
        return false;
    kbps = currentWrite;
    return true;
}

uint32_t CDevice::GetTotalTimeErasing(bool quick, uint32_t speedKbps)
{
    uint32_t speed = speedKbps;
    uint32_t estimate = 0;
    if (TestUnitReady()) {
        if (!SetSpeed(speed))
            log(LogChannel::Status, 1, "Setting erase speed failed!");
        std::lock_guard<std::mutex> lock(shared_->mutex);
        estimate = EraseEstimateSeconds(shared_->discType, quick, shared_->usedBytes, shared_->freeBytes, speed);
    }
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->eraseEstimate = estimate;
    return estimate;
}

bool CDevice::Erase(bool quick, uint32_t speedKbps)
{
    if (!CdvdBurnerGrabberCreate())
        return false;
    if (!TestUnitReady()) {
        log(LogChannel::Status, 2, "Unit is not ready!");
        return false;
    }
    setState(DeviceState::Erasing);
    const uint32_t estimate = GetTotalTimeErasing(quick, speedKbps);

    std::mutex tickerMutex;
    std::condition_variable tickerWake;
    bool finished = false;
    setProgress(0);
    std::thread ticker([&] {
        const auto started = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(tickerMutex);
        for (uint32_t second = 1; second <= estimate; ++second) {
            if (tickerWake.wait_until(lock, started + std::chrono::seconds(second), [&] { return finished; }))
                return;
            setProgress(int(uint64_t(second) * 100 / estimate));
        }
    });
    const bool erased = DEVICE_CALL(blank, quick ? 1 : 0);
    {
        std::lock_guard<std::mutex> lock(tickerMutex);
        finished = true;
    }
    tickerWake.notify_all();
    ticker.join();
    if (erased)
        setProgress(100);
    setState(DeviceState::Idle);
    return erased;
}

bool CDevice::Eject()
{
    if (!CdvdBurnerGrabberCreate())
        return false;
    setState(DeviceState::MovingTray);
    const bool good = DEVICE_CALL(eject);
    setState(DeviceState::Idle);
    return good;
}

bool CDevice::Load()
{
    if (!CdvdBurnerGrabberCreate())
        return false;
    setState(DeviceState::MovingTray);
    const bool good = DEVICE_CALL(load);
    setState(DeviceState::Idle);
    return good;
}

bool CDevice::Lock() { return CdvdBurnerGrabberCreate() && DEVICE_CALL(lock); }
bool CDevice::Release() { return CdvdBurnerGrabberCreate() && DEVICE_CALL(release); }
bool CDevice::TestUnitReady() { return CdvdBurnerGrabberCreate() && DEVICE_CALL(testUnitReady); }

#define SHARED_FIELD(name) \
    std::lock_guard<std::mutex> lock(shared_->mutex); \
    return shared_->name

std::string CDevice::vendor() const { SHARED_FIELD(vendor); }
std::string CDevice::product() const { SHARED_FIELD(product); }
std::string CDevice::revision() const { SHARED_FIELD(revision); }
std::string CDevice::driveLetter() const { SHARED_FIELD(driveLetter); }
int32_t CDevice::discType() const { SHARED_FIELD(discType); }
uint64_t CDevice::usedBytes() const { SHARED_FIELD(usedBytes); }
uint64_t CDevice::freeBytes() const { SHARED_FIELD(freeBytes); }
std::string CDevice::discLabel() const { SHARED_FIELD(discLabel); }
STARBURN_TOC_INFORMATION CDevice::toc() const { SHARED_FIELD(toc); }
bool CDevice::speedsProbed() const { SHARED_FIELD(speedsProbed); }
uint32_t CDevice::eraseEstimate() const { SHARED_FIELD(eraseEstimate); }
LastResult CDevice::lastResult() const { SHARED_FIELD(last); }
bool CDevice::trackAtOnce() const { SHARED_FIELD(writeModes[0]); }

uint8_t CDevice::capability(int byte) const
{
    if (byte < 0 || byte >= 16)
        return 0;
    SHARED_FIELD(capabilities[byte]);
}

// The list only changes while probing, which the facade never runs while
// anyone reads it.
const std::vector<WriteSpeed> &CDevice::writeSpeeds() const { return shared_->speeds; }

int CDevice::progress() const
{
    std::lock_guard<std::mutex> lock(shared_->progressMutex);
    return shared_->progress;
}

void CDevice::setProgress(int percent)
{
    std::lock_guard<std::mutex> lock(shared_->progressMutex);
    shared_->progress = std::clamp(percent, 0, 100);
}

DeviceState CDevice::state() const { return DeviceState(shared_->state.load()); }
void CDevice::setState(DeviceState state) { shared_->state = int(state); }

void CDevice::setProgressHook(ProgressHook hook)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->progressHook = std::move(hook);
}

void CDevice::setLogHook(DeviceLogHook hook)
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->logHook = std::move(hook);
}

void CDevice::log(LogChannel channel, int severity, const std::string &line) const
{
    DeviceLogHook hook;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        hook = shared_->logHook;
    }
    if (hook)
        hook(channel, severity, line);
}

void CDevice::OnBurnEvent(int event, void *context, uint64_t *first, uint64_t *second)
{
    Shared *shared = static_cast<Shared *>(context);
    if (!shared)
        return;
    ProgressHook hook;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        hook = shared->progressHook;
    }
    if (hook)
        hook(event);
    if (event != STARBURN_EVENT_WRITE_PROGRESS || !first || !second)
        return;
    const uint64_t total = *first, written = *second;
    if (total == 0)
        return;  // keeps the last value
    const int percent = int(std::min<uint64_t>(written, total) * 100 / total);
    std::lock_guard<std::mutex> lock(shared->progressMutex);
    if (percent > shared->progress)
        shared->progress = percent;
}

} // namespace vt::burn
