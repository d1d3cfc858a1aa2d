// What the burner facade asks of a burning engine. The facade runs the
// blocking calls (discover, burn, erase) on its workers and the rest on
// the caller's thread, never two at once.
#pragma once

#include "app/burn/c_device.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vt::burn {

// CheckDisc answers.
inline constexpr int kNoUsableDevice = 0;
inline constexpr int kDiscReady = 1;
inline constexpr int kDiscMustBeErased = 2;
inline constexpr int kNoUsableDisc = 3;

enum class DiscFeature { DvdMinusR, DvdPlusR, DvdPlusRW, DualLayer };
enum class TrayAction { Eject, Load, Lock, Unlock };

struct BurnRequest {
    std::string videoTsFolder;
    std::string volumeLabel;
    bool modifyIfo = false;
};

// Padding of the disc begins (false) and ends (true).
using PaddingReporter = std::function<void(bool ended)>;

class BurnEngine {
public:
    virtual ~BurnEngine() = default;

    // Starts the engine (loads its library); false when it cannot.
    virtual bool start() = 0;
    virtual void discover(bool useSpti) = 0;
    virtual int deviceCount() = 0;
    virtual std::string deviceName(int index) = 0;
    // "/dev/sr0", "stdio:PATH"; "" out of range.
    virtual std::string deviceAddress(int index) = 0;
    virtual std::vector<std::string> writeSpeeds(int index, bool refresh) = 0;
    virtual int checkDisc(int index, const PaddingReporter &padding) = 0;
    virtual bool hasCurrentDevice() = 0;
    virtual std::string mediaName() = 0;
    // The volume label of the current disc's file system, "" for none.
    virtual std::string discLabel() = 0;
    virtual uint64_t freeSpace() = 0;
    virtual uint64_t usedSpace() = 0;
    virtual int lastTrack() = 0;
    virtual int sessionCount() = 0;
    virtual bool supports(DiscFeature feature) = 0;
    virtual void selectSpeed(int index) = 0;

    // Blocking; called on a worker.
    virtual bool burn(const BurnRequest &request) = 0;
    virtual bool erase() = 0;
    // Read by the progress reporter while burn runs.
    virtual int progress() = 0;
    virtual bool writing() = 0;

    virtual bool tray(TrayAction action) = 0;
};

} // namespace vt::burn
