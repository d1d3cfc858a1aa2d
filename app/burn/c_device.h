// CDevice: one burner reached through the burning library. Copies share
// the burner object and the state behind it, so one drive is never held
// twice; the burner object is made on first use and freed with the last
// copy.
#pragma once

#include "app/burn/speed_labels.h"
#include "app/burn/starburn_library.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vt::burn {

enum class DeviceState : int { Idle = 0, Writing = 1, Erasing = 2, MovingTray = 4, Cancelled = 5 };

// The device layer's two log channels: a detailed trace and short status
// lines, each with a severity (0 information, 1 warning, 2 error).
enum class LogChannel { Trace, Status };
using DeviceLogHook = std::function<void(LogChannel, int severity, const std::string &)>;
// Gets every burn event number before the device handles it.
using ProgressHook = std::function<void(int event)>;

struct LastResult {
    int exception = 0;
    uint32_t status = 0;
    std::string text, detail;
};

class CDevice {
public:
    // A device found by name ("CdRom0") or by address ("stdio:/x.iso").
    CDevice(std::shared_ptr<StarBurnLibrary> library, std::string deviceName);

    const std::string &deviceName() const { return name_; }

    bool CdvdBurnerGrabberCreate();
    bool RefreshDeviceInfo();
    bool RefreshDeviceLetter();
    bool RefreshMediaSize();
    bool IsDiscBlank();
    bool RefreshMedia();
    bool RefreshReadWriteModes();
    bool GetWriteSpeeds();
    // Asks for kbps (0 = maximum) and puts the accepted speed back into it.
    bool SetSpeed(uint32_t &kbps);
    bool Erase(bool quick, uint32_t speedKbps);
    // Tests readiness, sets the erase speed and estimates the erase in
    // seconds (0 when the drive is not ready or reports no speed).
    uint32_t GetTotalTimeErasing(bool quick, uint32_t speedKbps);
    bool Eject();
    bool Load();
    bool Lock();
    bool Release();
    bool TestUnitReady();

    // Identity and capabilities.
    std::string vendor() const;
    std::string product() const;
    std::string revision() const;
    std::string driveLetter() const;
    uint8_t capability(int byte) const;
    bool trackAtOnce() const;

    // Disc state of the last refresh.
    int32_t discType() const;
    uint64_t usedBytes() const;
    uint64_t freeBytes() const;
    std::string discLabel() const;
    STARBURN_TOC_INFORMATION toc() const;
    const std::vector<WriteSpeed> &writeSpeeds() const;
    bool speedsProbed() const;

    int progress() const;
    void setProgress(int percent);
    DeviceState state() const;
    void setState(DeviceState state);
    uint32_t eraseEstimate() const;
    LastResult lastResult() const;

    void setProgressHook(ProgressHook hook);
    void setLogHook(DeviceLogHook hook);
    void log(LogChannel channel, int severity, const std::string &text) const;

    // For the burn: the library and burner object, and recording results.
    StarBurnLibrary *library() const;
    void *grabber() const;
    // Stores a call's outcome; true for success.
    bool record(int exception, uint32_t status, const char *text, const char *detail);

    // The callback the library calls for burn events; context is the
    // device's shared state.
    static void OnBurnEvent(int event, void *context, uint64_t *first, uint64_t *second);

private:
    struct Shared;
    std::string name_;
    std::shared_ptr<Shared> shared_;
};

} // namespace vt::burn
