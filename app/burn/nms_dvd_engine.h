// TNMSDVD: the burning engine over the DVD engine object model
// (libdvdenginex.so). A failing engine call fails the operation and logs
// the call with the engine's text; it never stops the program.
#pragma once

#include "app/burn/burn_engine.h"
#include "engines/dvdengine/dvdenginex.h"
#include "platform/module_loader.h"

#include <atomic>
#include <memory>
#include <string>

namespace vt::burn {

inline constexpr const char *kDvdEngineLibraryFile = "libdvdenginex.so";

class TNMSDVD : public BurnEngine {
public:
    TNMSDVD(std::string libraryPath, DeviceLogHook log);
    ~TNMSDVD() override;

    bool start() override;
    void discover(bool useSpti) override;
    int deviceCount() override;
    std::string deviceName(int index) override;
    std::string deviceAddress(int index) override;
    std::vector<std::string> writeSpeeds(int index, bool refresh) override;
    int checkDisc(int index, const PaddingReporter &padding) override;
    bool hasCurrentDevice() override { return current_ != nullptr; }
    std::string mediaName() override;
    std::string discLabel() override;
    uint64_t freeSpace() override;
    uint64_t usedSpace() override;
    int lastTrack() override;
    int sessionCount() override;
    bool supports(DiscFeature feature) override;
    void selectSpeed(int index) override { selectedSpeed_ = index; }
    bool burn(const BurnRequest &request) override;
    bool erase() override;
    int progress() override { return progress_; }
    bool writing() override { return writing_; }
    bool tray(TrayAction action) override;

private:
    struct Api;
    // Logs a failing call with the engine's text; true for success.
    bool check(int32_t result, const char *call);
    bool refreshDisc(DeviceX *device);
    int32_t mediaType(DeviceX *device);
    // Waits until the final event arrived or the engine's worker ended.
    bool waitForEnd(const std::atomic<bool> &ended, const std::atomic<bool> &good);

    static void OnWriteStatus(void *context, int32_t status, int32_t progress);
    static void OnEraseStatus(void *context, int32_t status);
    static int32_t OnTrackFileWarning(void *context, const char *file, const char *reason);
    static void OnEraseError(void *context, int32_t code, const char *text);

    std::string libraryPath_;
    DeviceLogHook log_;
    std::unique_ptr<Api> api_;
    DVDEngineX *engine_ = nullptr;
    DataImageX *image_ = nullptr;
    DeviceX *current_ = nullptr;
    int selectedSpeed_ = -1;

    std::atomic<int> progress_{0};
    std::atomic<bool> writing_{false};
    std::atomic<bool> writeEnded_{false}, writeGood_{false};
    std::atomic<bool> eraseEnded_{false}, eraseGood_{false};
};

// The engine the setting chooses: TNMSDVD when useNmsDvd, else the burning
// library's devices. programFolder ends with '/'.
std::unique_ptr<BurnEngine> MakeBurnEngine(bool useNmsDvd, const std::string &programFolder, DeviceLogHook log);

} // namespace vt::burn
