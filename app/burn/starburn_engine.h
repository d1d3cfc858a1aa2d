// The burning engine over the burning library's devices (CDevice).
#pragma once

#include "app/burn/burn_engine.h"

#include <memory>
#include <mutex>

namespace vt::burn {

class StarBurnEngine : public BurnEngine {
public:
    // libraryPath: the library file; log: the devices' log hook.
    StarBurnEngine(std::string libraryPath, DeviceLogHook log);
    ~StarBurnEngine() override;

    bool start() override;
    void discover(bool useSpti) override;
    int deviceCount() override;
    std::string deviceName(int index) override;
    std::string deviceAddress(int index) override;
    std::vector<std::string> writeSpeeds(int index, bool refresh) override;
    int checkDisc(int index, const PaddingReporter &padding) override;
    bool hasCurrentDevice() override { return current_ != nullptr; }
    std::string mediaName() override;
    std::string discLabel() override { return current_ ? current_->discLabel() : std::string(); }
    uint64_t freeSpace() override;
    uint64_t usedSpace() override;
    int lastTrack() override;
    int sessionCount() override;
    bool supports(DiscFeature feature) override;
    void selectSpeed(int index) override;
    bool burn(const BurnRequest &request) override;
    bool erase() override;
    int progress() override;
    bool writing() override;
    bool tray(TrayAction action) override;

private:
    bool InitStarBurnDll();
    CDevice *device(int index);

    std::string libraryPath_;
    DeviceLogHook log_;
    std::shared_ptr<StarBurnLibrary> library_;
    std::vector<CDevice> devices_;
    CDevice *current_ = nullptr;
    WriteSpeed speed_{0, "MAX"};
};

// The device text of the list: product, vendor and revision.
std::string DeviceText(const CDevice &device);

} // namespace vt::burn
