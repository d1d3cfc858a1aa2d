// One drive of the drive table: an optical drive through libburn, or a
// pseudo-drive (an image file with an emulated disc). Both engines of the
// program reach discs only through this interface.
#pragma once

#include "engines/burn/track_writer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace starburn {

struct DiscState {
    int32_t type = 0;          // STARBURN_DISC_ code; STARBURN_DISC_EMPTY without a disc
    bool holdsData = false;    // a file system or recorded data was found
    bool erasable = false;
    uint64_t capacity = 0;     // bytes of the whole disc
    uint64_t used = 0;         // bytes recorded
    std::string label;         // the volume label of its file system
    int32_t sessions = 0;
    int32_t tracks = 0;
};

class Drive {
public:
    virtual ~Drive() = default;

    virtual std::string address() const = 0;  // "/dev/sr0", "stdio:PATH"
    virtual std::string vendor() const = 0;
    virtual std::string product() const = 0;
    virtual std::string revision() const = 0;
    virtual uint32_t cacheBytes() const = 0;
    virtual void capabilities(uint8_t flags[16]) const = 0;

    // Claims the drive for one user; false when someone holds it already.
    virtual bool acquire(std::string &error) = 0;
    virtual void relinquish() = 0;

    virtual bool ready(std::string &error) = 0;
    virtual bool readDisc(DiscState &disc, std::string &error) = 0;
    // Write speeds the drive offers for the inserted disc, KB/s ascending.
    virtual std::vector<uint32_t> writeSpeeds() = 0;
    // Asks for a write speed (0 = the maximum); the speed settled on.
    virtual uint32_t setWriteSpeed(uint32_t kbps) = 0;
    virtual uint32_t currentWriteSpeed() const = 0;

    virtual bool erase(bool quick, std::string &error) = 0;
    virtual bool write(int fd, uint64_t size, const WriteProgress &progress, std::string &error) = 0;
    virtual bool eject(std::string &error) = 0;
    virtual bool load(std::string &error) = 0;
    virtual bool lockTray(bool locked, std::string &error) = 0;
};

struct PseudoDriveEntry;
std::shared_ptr<Drive> MakePseudoDrive(const PseudoDriveEntry &entry);
std::shared_ptr<Drive> MakeOpticalDrive(const std::string &address, const std::string &vendor,
                                        const std::string &product, const std::string &revision);

// The fastest of speeds not above kbps (the slowest when all are above,
// the fastest for 0); kbps itself for an empty list.
uint32_t SettleSpeed(const std::vector<uint32_t> &speeds, uint32_t kbps);

} // namespace starburn
