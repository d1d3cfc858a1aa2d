// The burner facade: the one way the program reaches a burner. It holds
// the current device of one engine, runs discovery, burning and erasing
// on workers while the caller's thread pumps its messages, and posts
// kBurnerMessage to the registered target:
//   (1, 0) discovery finished       (2, 1|0) the burn finished, good or not
//   (3, percent) burn progress      (4, 0) padding begins
//   (4, 1) padding ends; the erase worker posts (4, 1|0) with its result
#pragma once

#include "app/burn/burn_engine.h"
#include "platform/message_target.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vt::burn {

inline constexpr uint32_t kBurnerMessage = 1162;

struct BurnerSettings {
    bool modifyIfo = false;  // modifyIfo
};

class BurnerFacade {
public:
    BurnerFacade(std::unique_ptr<BurnEngine> engine, BurnerSettings settings);
    ~BurnerFacade();
    BurnerFacade(const BurnerFacade &) = delete;
    BurnerFacade &operator=(const BurnerFacade &) = delete;

    // The first call also starts the engine and sets the label "DVD_DISC".
    void RegisterNotifyWindow(VtMessageTarget *target);
    // Once per facade; false when the discovery worker cannot start.
    bool InitDevices(bool useSpti, bool wait);
    std::string DeviceName(int index);
    std::vector<std::string> WriteSpeeds(int index, bool refresh);
    int CheckDisc(int index);
    std::string MediaName();
    static uint64_t FolderSize(const std::string &folder);
    uint64_t FreeSpace();
    void SelectSpeed(int index);
    void SetVolumeLabel(const std::string &label);
    const std::string &volumeLabel() const { return volumeLabel_; }
    // The folder written by BurnFolder (the VIDEO_TS folder).
    void SetSourceFolder(const std::string &videoTsFolder);
    bool BurnFolder();
    bool EraseDisc();
    bool Eject();
    bool Load();
    bool Lock();
    bool Unlock();
    double FreeMB();
    double UsedMB();
    int LastTrack();
    int SessionCount();
    bool SupportsDVDMinusR();
    bool SupportsDVDPlusR();
    bool SupportsDVDPlusRW();
    bool SupportsDualLayer();

    bool busy() const { return busy_; }
    BurnEngine &engine() { return *engine_; }

private:
    void post(intptr_t first, intptr_t second);
    void pumpUntilIdle();
    void joinDiscovery();
    void reportProgress();

    std::unique_ptr<BurnEngine> engine_;
    BurnerSettings settings_;
    std::atomic<VtMessageTarget *> target_{nullptr};
    bool registered_ = false;
    bool started_ = false;
    std::string volumeLabel_ = "DVD_DISC";
    std::string sourceFolder_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> result_{false};
    bool discoveryStarted_ = false;
    std::thread discovery_;
    std::atomic<int> lastPosted_{0};
};

} // namespace vt::burn
