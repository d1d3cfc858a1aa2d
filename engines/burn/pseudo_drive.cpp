// A pseudo-drive: an image file written through libburn's stdio: drive,
// with the disc type, capacity, speeds, rate and failures of its entry.
// libburn calls an image file blank even after writing, so what the
// "disc" holds is read from the file itself.
#include "engines/burn/drive.h"

#include "engines/burn/iso_volume.h"
#include "engines/burn/pseudo_drive_entry.h"
#include "engines/burn/starburn.h"

#include <libburn/libburn.h>

using namespace burn;

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace starburn {

namespace {

class PseudoDrive : public Drive {
public:
    explicit PseudoDrive(const PseudoDriveEntry &entry) : entry_(entry) {}

    std::string address() const override { return "stdio:" + entry_.path; }
    std::string vendor() const override { return "VANTOREL"; }
    std::string product() const override { return "Image Writer"; }
    std::string revision() const override { return "1.0"; }
    uint32_t cacheBytes() const override { return 4u << 20; }
    void capabilities(uint8_t flags[16]) const override
    {
        static const uint8_t kFlags[16] = {1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 1, 1, 1, 1};
        std::memcpy(flags, kFlags, sizeof kFlags);
    }

    bool acquire(std::string &error) override
    {
        bool expected = false;
        if (!held_.compare_exchange_strong(expected, true)) {
            error = address() + " is in use";
            return false;
        }
        return true;
    }
    void relinquish() override { held_ = false; }

    bool ready(std::string &error) override
    {
        if (entry_.readyFails) {
            error = "the emulated drive is not ready";
            return false;
        }
        std::error_code ec;
        const fs::path folder = fs::absolute(entry_.path, ec).parent_path();
        if (!fs::is_directory(folder, ec)) {
            error = "no folder " + folder.string() + " for the image";
            return false;
        }
        return true;
    }

    bool readDisc(DiscState &disc, std::string &error) override
    {
        if (!ready(error))
            return false;
        const IsoVolume volume = ReadIsoVolume(entry_.path);
        std::error_code ec;
        const uintmax_t fileBytes = fs::is_regular_file(entry_.path, ec) ? fs::file_size(entry_.path, ec) : 0;
        disc = DiscState();
        disc.type = entry_.discType;
        disc.erasable = IsRewritableDisc(entry_.discType);
        disc.capacity = entry_.capacity;
        disc.holdsData = volume.present;
        disc.used = volume.present ? std::max<uint64_t>(volume.bytes, ec ? 0 : fileBytes) : 0;
        disc.label = volume.label;
        disc.sessions = volume.present ? 1 : 0;
        disc.tracks = volume.present ? 1 : 0;
        return true;
    }

    std::vector<uint32_t> writeSpeeds() override { return entry_.speeds; }
    uint32_t setWriteSpeed(uint32_t kbps) override
    {
        current_ = SettleSpeed(entry_.speeds, kbps);
        return current_;
    }
    uint32_t currentWriteSpeed() const override { return current_; }

    bool erase(bool, std::string &error) override
    {
        if (!IsRewritableDisc(entry_.discType)) {
            error = "the disc is not rewritable";
            return false;
        }
        if (entry_.eraseFails) {
            error = "the emulated erase failed";
            return false;
        }
        // Erasing the emulated disc empties the image file.
        if (::truncate(entry_.path.c_str(), 0) != 0 && errno != ENOENT) {
            error = "cannot empty " + entry_.path + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }

    bool write(int fd, uint64_t size, const WriteProgress &progress, std::string &error) override
    {
        DiscState disc;
        if (!readDisc(disc, error))
            return false;
        if (disc.holdsData) {
            error = "the disc is not blank";
            return false;
        }
        if (size > disc.capacity) {
            error = "the image (" + std::to_string(size) + " bytes) is larger than the disc (" +
                    std::to_string(disc.capacity) + " bytes)";
            return false;
        }
        if (entry_.writeFails) {
            error = "the emulated write failed";
            return false;
        }
        burn_drive_info *infos = nullptr;
        std::string adr = address();
        if (burn_drive_scan_and_grab(&infos, adr.data(), 0) != 1) {
            error = "cannot open " + adr + ": " + TakeLibburnMessages();
            return false;
        }
        burn_drive *drive = infos[0].drive;
        const bool good = WriteTrack(drive, fd, size, entry_.rate, progress, error);
        burn_drive_release(drive, 0);
        burn_drive_info_free(infos);
        if (good && ::truncate(entry_.path.c_str(), off_t(size)) != 0) {
            error = "cannot trim " + entry_.path + ": " + std::strerror(errno);
            return false;
        }
        return good;
    }

    bool eject(std::string &) override { return true; }
    bool load(std::string &) override { return true; }
    bool lockTray(bool, std::string &) override { return true; }

private:
    PseudoDriveEntry entry_;
    std::atomic<bool> held_{false};
    uint32_t current_ = 0;
};

} // namespace

uint32_t SettleSpeed(const std::vector<uint32_t> &speeds, uint32_t kbps)
{
    if (speeds.empty())
        return kbps;
    if (kbps == 0)
        return speeds.back();
    uint32_t settled = speeds.front();
    for (uint32_t speed : speeds)
        if (speed <= kbps)
            settled = speed;
    return settled;
}

std::shared_ptr<Drive> MakePseudoDrive(const PseudoDriveEntry &entry) { return std::make_shared<PseudoDrive>(entry); }

} // namespace starburn
