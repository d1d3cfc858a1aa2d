#include "app/burn/burner_facade.h"

#include "app/common/file_sizes.h"

#include <algorithm>
#include <system_error>

namespace vt::burn {

namespace {

constexpr auto kPumpStep = std::chrono::milliseconds(50);

// Starts a thread; false when the system cannot.
template <typename Fn>
bool startThread(std::thread &thread, Fn &&fn)
{
    try {
        thread = std::thread(std::forward<Fn>(fn));
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

} // namespace

BurnerFacade::BurnerFacade(std::unique_ptr<BurnEngine> engine, BurnerSettings settings)
    : engine_(std::move(engine)), settings_(settings)
{
}

BurnerFacade::~BurnerFacade() { joinDiscovery(); }

void BurnerFacade::post(intptr_t first, intptr_t second)
{
    VtMessageTarget *target = target_;
    if (target && target->post)
        target->post(target, kBurnerMessage, first, second);
}

void BurnerFacade::pumpUntilIdle()
{
    while (busy_) {
        VtMessageTarget *target = target_;
        if (target && target->pump)
            target->pump(target);
        std::this_thread::sleep_for(kPumpStep);
    }
    VtMessageTarget *target = target_;
    if (target && target->pump)
        target->pump(target);
}

void BurnerFacade::joinDiscovery()
{
    if (discovery_.joinable())
        discovery_.join();
}

void BurnerFacade::RegisterNotifyWindow(VtMessageTarget *target)
{
    target_ = target;
    if (registered_)
        return;
    registered_ = true;
    started_ = engine_->start();
    volumeLabel_ = "DVD_DISC";
}

bool BurnerFacade::InitDevices(bool useSpti, bool wait)
{
    if (discoveryStarted_) {
        if (wait)
            joinDiscovery();
        return true;
    }
    if (!registered_)
        RegisterNotifyWindow(target_);
    discoveryStarted_ = true;
    busy_ = true;
    const bool running = startThread(discovery_, [this, useSpti] {
        if (started_)
            engine_->discover(useSpti);
        post(1, 0);
        busy_ = false;
    });
    if (!running) {
        busy_ = false;
        discoveryStarted_ = false;
        return false;
    }
    if (wait) {
        pumpUntilIdle();
        joinDiscovery();
    }
    return true;
}

// Calls below read the device list, which discovery builds: they wait for
// it (a discovery started without waiting ends here).
#define DEVICES_READY() joinDiscovery()

std::string BurnerFacade::DeviceName(int index)
{
    DEVICES_READY();
    if (busy_ || !started_)
        return "";
    return engine_->deviceName(index);
}

std::vector<std::string> BurnerFacade::WriteSpeeds(int index, bool refresh)
{
    DEVICES_READY();
    if (busy_ || !started_)
        return {};
    return engine_->writeSpeeds(index, refresh);
}

int BurnerFacade::CheckDisc(int index)
{
    DEVICES_READY();
    if (busy_ || !started_)
        return kNoUsableDevice;
    return engine_->checkDisc(index, [this](bool ended) { post(4, ended ? 1 : 0); });
}

std::string BurnerFacade::MediaName()
{
    if (busy_ || !started_)
        return "";
    return engine_->mediaName();
}

uint64_t BurnerFacade::FolderSize(const std::string &folder)
{
    uint64_t total = 0;
    common::FolderSize(folder, total);
    return total;
}

uint64_t BurnerFacade::FreeSpace()
{
    if (busy_ || !started_)
        return 0;
    return engine_->freeSpace();
}

void BurnerFacade::SelectSpeed(int index)
{
    if (!busy_ && started_)
        engine_->selectSpeed(index);
}

void BurnerFacade::SetVolumeLabel(const std::string &label) { volumeLabel_ = trimmed(label); }

void BurnerFacade::SetSourceFolder(const std::string &videoTsFolder) { sourceFolder_ = videoTsFolder; }

void BurnerFacade::reportProgress()
{
    using namespace std::chrono;
    // Wait for the write to begin: the first progress may come late.
    while (busy_ && !engine_->writing())
        std::this_thread::sleep_for(milliseconds(100));
    auto next = steady_clock::now();
    while (busy_ && engine_->writing()) {
        if (steady_clock::now() >= next) {
            const int percent = std::max(lastPosted_.load(), std::clamp(engine_->progress(), 0, 100));
            lastPosted_ = percent;
            post(3, percent);
            next += seconds(1);
        }
        std::this_thread::sleep_for(milliseconds(50));
    }
    while (busy_)
        std::this_thread::sleep_for(milliseconds(20));
    const int percent = std::max(lastPosted_.load(), std::clamp(engine_->progress(), 0, 100));
    lastPosted_ = percent;
    post(3, percent);
}

bool BurnerFacade::BurnFolder()
{
    DEVICES_READY();
    if (busy_ || !started_ || !engine_->hasCurrentDevice())
        return false;
    BurnRequest request{sourceFolder_, volumeLabel_, settings_.modifyIfo};
    engine_->tray(TrayAction::Lock);
    busy_ = true;
    result_ = false;
    lastPosted_ = 0;
    std::thread reporter, burner;
    if (!startThread(reporter, [this] { reportProgress(); })) {
        busy_ = false;
        engine_->tray(TrayAction::Unlock);
        return false;
    }
    if (!startThread(burner, [this, request] {
            const bool good = engine_->burn(request);
            result_ = good;
            post(2, good ? 1 : 0);
            busy_ = false;
        })) {
        busy_ = false;
        reporter.join();
        engine_->tray(TrayAction::Unlock);
        return false;
    }
    pumpUntilIdle();
    burner.join();
    reporter.join();
    VtMessageTarget *target = target_;
    if (target && target->pump)
        target->pump(target);
    engine_->tray(TrayAction::Unlock);
    return result_;
}

bool BurnerFacade::EraseDisc()
{
    DEVICES_READY();
    if (busy_ || !started_ || !engine_->hasCurrentDevice())
        return false;
    busy_ = true;
    result_ = false;
    std::thread eraser;
    if (!startThread(eraser, [this] {
            const bool good = engine_->erase();
            result_ = good;
            post(4, good ? 1 : 0);
            busy_ = false;
        })) {
        busy_ = false;
        return false;
    }
    pumpUntilIdle();
    eraser.join();
    return result_;
}

#define TRAY(action) return !busy_ && started_ && engine_->tray(action)
bool BurnerFacade::Eject() { TRAY(TrayAction::Eject); }
bool BurnerFacade::Load() { TRAY(TrayAction::Load); }
bool BurnerFacade::Lock() { TRAY(TrayAction::Lock); }
bool BurnerFacade::Unlock() { TRAY(TrayAction::Unlock); }

double BurnerFacade::FreeMB() { return double(FreeSpace()) / 1048576.0; }
double BurnerFacade::UsedMB() { return busy_ || !started_ ? 0.0 : double(engine_->usedSpace()) / 1048576.0; }
int BurnerFacade::LastTrack() { return busy_ || !started_ ? 0 : engine_->lastTrack(); }
int BurnerFacade::SessionCount() { return busy_ || !started_ ? 0 : engine_->sessionCount(); }
bool BurnerFacade::SupportsDVDMinusR() { return !busy_ && started_ && engine_->supports(DiscFeature::DvdMinusR); }
bool BurnerFacade::SupportsDVDPlusR() { return !busy_ && started_ && engine_->supports(DiscFeature::DvdPlusR); }
bool BurnerFacade::SupportsDVDPlusRW() { return !busy_ && started_ && engine_->supports(DiscFeature::DvdPlusRW); }
bool BurnerFacade::SupportsDualLayer() { return !busy_ && started_ && engine_->supports(DiscFeature::DualLayer); }

} // namespace vt::burn
