#include "app/burn/starburn_engine.h"

#include "app/burn/burn_dvd_video.h"
#include "app/burn/disc_facts.h"

#include <cstring>

namespace vt::burn {

namespace {

bool listsSpeeds(int32_t discType)
{
    switch (discType) {
    case 2: case 3: case 5: case 6: case 7: case 8: case 9: case 11: case 13: case 15:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string DeviceText(const CDevice &device)
{
    return device.product() + " " + device.vendor() + " " + device.revision();
}

StarBurnEngine::StarBurnEngine(std::string libraryPath, DeviceLogHook log)
    : libraryPath_(std::move(libraryPath)), log_(std::move(log))
{
}

StarBurnEngine::~StarBurnEngine()
{
    current_ = nullptr;
    devices_.clear();  // frees the burner objects before the library ends
    if (library_)
        library_->downShut();
}

bool StarBurnEngine::start()
{
    if (library_)
        return true;
    std::string error;
    library_ = StarBurnLibrary::open(libraryPath_, error);
    if (!library_) {
        if (log_)
            log_(LogChannel::Trace, 2, "The burning library cannot be loaded: " + error);
        return false;
    }
    return InitStarBurnDll();
}

bool StarBurnEngine::InitStarBurnDll()
{
    if (!library_)
        return false;
    const int code = library_->upStartEx(STARBURN_VENDOR_INIT, uint32_t(std::strlen(STARBURN_VENDOR_INIT)));
    if (code != STARBURN_OK && log_)
        log_(LogChannel::Trace, 2, "The burning library did not start (" + std::to_string(code) + ")");
    return code == STARBURN_OK;
}

// Both ways of finding drives come to the same on this system: the library
// names its drives "CdRom0" ... in the order it found them.
void StarBurnEngine::discover(bool)
{
    current_ = nullptr;
    devices_.clear();
    if (!InitStarBurnDll())
        return;
    for (int n = 0; n < 20; ++n) {
        const std::string name = "CdRom" + std::to_string(n);
        void *probe = nullptr;
        char text[STARBURN_TEXT_SIZE] = {}, detail[STARBURN_TEXT_SIZE] = {};
        uint32_t status = 0;
        if (library_->createEx(&probe, text, STARBURN_TEXT_SIZE, &status, detail, nullptr, nullptr, name.c_str(),
                               1) != STARBURN_OK)
            continue;
        library_->destroy(probe);
        devices_.emplace_back(library_, name);
    }
    for (CDevice &device : devices_) {
        device.setLogHook(log_);
        device.RefreshDeviceInfo();
        device.RefreshMedia();
        device.RefreshReadWriteModes();
    }
}

CDevice *StarBurnEngine::device(int index)
{
    if (index < 0 || size_t(index) >= devices_.size())
        return nullptr;
    return &devices_[size_t(index)];
}

int StarBurnEngine::deviceCount() { return int(devices_.size()); }

std::string StarBurnEngine::deviceName(int index)
{
    CDevice *found = device(index);
    return found ? DeviceText(*found) : std::string();
}

std::string StarBurnEngine::deviceAddress(int index)
{
    CDevice *found = device(index);
    return found ? found->driveLetter() : std::string();
}

std::vector<std::string> StarBurnEngine::writeSpeeds(int index, bool refresh)
{
    std::vector<std::string> labels;
    CDevice *found = device(index);
    if (!found)
        return labels;
    if (refresh)
        found->RefreshMedia();
    if (!listsSpeeds(found->discType()) || !found->GetWriteSpeeds())
        return labels;
    for (const WriteSpeed &speed : found->writeSpeeds())
        labels.push_back(speed.label);
    return labels;
}

int StarBurnEngine::checkDisc(int index, const PaddingReporter &padding)
{
    CDevice *found = device(index);
    if (!found)
        return kNoUsableDevice;
    current_ = found;
    // A disc whose state cannot be read is no disc to write to.
    const bool known = found->RefreshMedia();
    found->setProgressHook([padding](int event) {
        if (event == STARBURN_EVENT_DVD_MEDIA_PADDING_BEGIN && padding)
            padding(false);
        else if (event == STARBURN_EVENT_DVD_MEDIA_PADDING_END && padding)
            padding(true);
    });
    if (!known)
        return kNoUsableDisc;
    switch (found->discType()) {
    case 5: case 13: case 15:  // write-once: blank or nothing
        if (!found->IsDiscBlank())
            return kNoUsableDisc;
        break;
    case 6:
        break;
    case 7: case 8: case 9:  // rewritable: blank, or erased first
        if (!found->IsDiscBlank())
            return kDiscMustBeErased;
        break;
    default:
        return kNoUsableDisc;
    }
    return found->GetWriteSpeeds() ? kDiscReady : kNoUsableDevice;
}

std::string StarBurnEngine::mediaName() { return current_ ? DiscTypeName(current_->discType()) : std::string(); }

uint64_t StarBurnEngine::freeSpace()
{
    if (!current_)
        return 0;
    current_->RefreshMedia();
    return current_->freeBytes();
}

uint64_t StarBurnEngine::usedSpace() { return current_ ? current_->usedBytes() : 0; }
int StarBurnEngine::lastTrack() { return current_ ? current_->toc().last_track : 0; }
int StarBurnEngine::sessionCount() { return current_ ? current_->toc().sessions : 0; }

bool StarBurnEngine::supports(DiscFeature feature)
{
    if (!current_)
        return false;
    switch (feature) {
    case DiscFeature::DvdMinusR: return current_->capability(8) != 0;
    case DiscFeature::DvdPlusR: return current_->capability(14) != 0;
    case DiscFeature::DvdPlusRW: return current_->capability(13) != 0;
    case DiscFeature::DualLayer: return current_->capability(15) != 0;
    }
    return false;
}

void StarBurnEngine::selectSpeed(int index)
{
    speed_ = WriteSpeed{0, "MAX"};
    if (current_ && index >= 0 && size_t(index) < current_->writeSpeeds().size())
        speed_ = current_->writeSpeeds()[size_t(index)];
}

bool StarBurnEngine::burn(const BurnRequest &request)
{
    if (!current_)
        return false;
    DvdVideoBurnOptions options;
    options.videoTsFolder = request.videoTsFolder;
    options.modifyIfo = request.modifyIfo;
    options.volumeLabel = request.volumeLabel;
    options.speed = speed_;
    return BurnDVDVideo(*current_, options);
}

bool StarBurnEngine::erase()
{
    if (!current_ || !current_->GetWriteSpeeds())
        return false;
    const std::vector<WriteSpeed> &speeds = current_->writeSpeeds();
    const uint32_t fastest = speeds.empty() ? 0 : speeds.back().kbps;
    return current_->Erase(true, fastest);
}

int StarBurnEngine::progress() { return current_ ? current_->progress() : 0; }
bool StarBurnEngine::writing() { return current_ && current_->state() == DeviceState::Writing; }

bool StarBurnEngine::tray(TrayAction action)
{
    if (!current_)
        return false;
    switch (action) {
    case TrayAction::Eject: return current_->Eject();
    case TrayAction::Load: return current_->Load();
    case TrayAction::Lock: return current_->Lock();
    case TrayAction::Unlock: return current_->Release();
    }
    return false;
}

} // namespace vt::burn
