// An optical drive through libburn, grabbed while a burner object holds it.
#include "engines/burn/drive.h"

#include "engines/burn/iso_volume.h"
#include "engines/burn/pseudo_drive_entry.h"
#include "engines/burn/starburn.h"

#include <libburn/libburn.h>

using namespace burn;

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace starburn {

namespace {

class OpticalDrive : public Drive {
public:
    OpticalDrive(std::string address, std::string vendor, std::string product, std::string revision)
        : address_(std::move(address)), vendor_(std::move(vendor)), product_(std::move(product)),
          revision_(std::move(revision))
    {
    }
    ~OpticalDrive() override { relinquish(); }

    std::string address() const override { return address_; }
    std::string vendor() const override { return vendor_; }
    std::string product() const override { return product_; }
    std::string revision() const override { return revision_; }
    uint32_t cacheBytes() const override { return 0; }
    void capabilities(uint8_t flags[16]) const override
    {
        std::memset(flags, 0, 16);
        if (!drive_)
            return;
        // What the inserted disc allows is all libburn can tell; the writer
        // families follow from the drive's profile list.
        int profiles[64];
        char isCurrent[64];
        int count = 0;
        if (burn_drive_get_all_profiles(drive_, &count, profiles, isCurrent) == 1) {
            for (int i = 0; i < count; ++i) {
                switch (DiscTypeFromProfile(profiles[i])) {
                case STARBURN_DISC_CDR: flags[0] = flags[2] = 1; break;
                case STARBURN_DISC_CDRW: flags[1] = flags[3] = 1; break;
                case STARBURN_DISC_DVDROM: flags[4] = 1; break;
                case STARBURN_DISC_DVDRAM: flags[5] = flags[6] = 1; break;
                case STARBURN_DISC_DVDR:
                case STARBURN_DISC_DVDRW_SEQUENTIAL:
                case STARBURN_DISC_DVDRW_OVERWRITE: flags[8] = 1; break;
                case STARBURN_DISC_DVDPLUSRW: flags[12] = flags[13] = 1; break;
                case STARBURN_DISC_DVDPLUSR: flags[14] = 1; break;
                case STARBURN_DISC_DVDPLUSR_DL:
                case STARBURN_DISC_DVDR_DL: flags[15] = 1; break;
                case STARBURN_DISC_BDROM: flags[10] = 1; break;
                case STARBURN_DISC_BDR:
                case STARBURN_DISC_BDRE: flags[10] = flags[11] = 1; break;
                default: break;
                }
            }
        }
        flags[9] = 1;
    }

    bool acquire(std::string &error) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (drive_) {
            error = address_ + " is in use";
            return false;
        }
        std::string adr = address_;
        if (burn_drive_scan_and_grab(&infos_, adr.data(), 1) != 1) {
            error = "cannot open " + address_ + ": " + TakeLibburnMessages();
            infos_ = nullptr;
            return false;
        }
        drive_ = infos_[0].drive;
        return true;
    }

    void relinquish() override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!drive_)
            return;
        burn_drive_release(drive_, 0);
        burn_drive_info_free(infos_);
        drive_ = nullptr;
        infos_ = nullptr;
    }

    bool ready(std::string &error) override
    {
        if (!drive_) {
            error = "the drive is not open";
            return false;
        }
        const burn_disc_status status = burn_disc_get_status(drive_);
        if (status == BURN_DISC_UNREADY || status == BURN_DISC_UNSUITABLE) {
            error = "the unit is not ready";
            return false;
        }
        return true;
    }

    bool readDisc(DiscState &disc, std::string &error) override
    {
        if (!drive_) {
            error = "the drive is not open";
            return false;
        }
        disc = DiscState();
        const burn_disc_status status = burn_disc_get_status(drive_);
        if (status == BURN_DISC_EMPTY || status == BURN_DISC_UNREADY) {
            disc.type = STARBURN_DISC_EMPTY;
            return true;
        }
        int profile = 0;
        char name[80];
        burn_disc_get_profile(drive_, &profile, name);
        disc.type = DiscTypeFromProfile(profile);
        disc.erasable = burn_disc_erasable(drive_) == 1 || IsRewritableDisc(disc.type);
        const off_t available = burn_disc_available_space(drive_, nullptr);
        // Overwritable media report blank after writing; the volume
        // descriptor tells what they hold.
        unsigned char descriptor[2048];
        off_t got = 0;
        IsoVolume volume;
        if (status != BURN_DISC_BLANK &&
            burn_read_data(drive_, kIsoVolumeDescriptorOffset, reinterpret_cast<char *>(descriptor),
                           sizeof descriptor, &got, 1) == 1)
            volume = ParseIsoVolume(descriptor, size_t(got));
        else if (status == BURN_DISC_BLANK && IsRewritableDisc(disc.type) &&
                 burn_read_data(drive_, kIsoVolumeDescriptorOffset, reinterpret_cast<char *>(descriptor),
                                sizeof descriptor, &got, 1) == 1)
            volume = ParseIsoVolume(descriptor, size_t(got));
        disc.holdsData = status == BURN_DISC_APPENDABLE || status == BURN_DISC_FULL || volume.present;
        disc.label = volume.label;
        disc.used = volume.present ? volume.bytes : 0;
        disc.capacity = uint64_t(available > 0 ? available : 0) + (IsRewritableDisc(disc.type) ? 0 : disc.used);
        if (IsRewritableDisc(disc.type) && disc.capacity < disc.used)
            disc.capacity = disc.used;
        disc.sessions = disc.holdsData ? 1 : 0;
        disc.tracks = disc.holdsData ? 1 : 0;
        return true;
    }

    std::vector<uint32_t> writeSpeeds() override
    {
        std::vector<uint32_t> speeds;
        if (!drive_)
            return speeds;
        burn_speed_descriptor *list = nullptr;
        if (burn_drive_get_speedlist(drive_, &list) == 1) {
            for (burn_speed_descriptor *item = list; item; item = item->next)
                if (item->write_speed > 0)
                    speeds.push_back(uint32_t(item->write_speed));
            burn_drive_free_speedlist(&list);
        }
        std::sort(speeds.begin(), speeds.end());
        speeds.erase(std::unique(speeds.begin(), speeds.end()), speeds.end());
        return speeds;
    }

    // libburn cannot read the current speed back; the speed asked for,
    // settled on the drive's list, is what the drive was told to use.
    uint32_t setWriteSpeed(uint32_t kbps) override
    {
        current_ = SettleSpeed(writeSpeeds(), kbps);
        if (drive_)
            burn_drive_set_speed(drive_, 0, int(current_));
        return current_;
    }
    uint32_t currentWriteSpeed() const override { return current_; }

    bool erase(bool quick, std::string &error) override
    {
        if (!drive_ || burn_disc_erasable(drive_) != 1) {
            error = "the disc cannot be erased";
            return false;
        }
        TakeLibburnMessages();
        burn_disc_erase(drive_, quick ? 1 : 0);
        waitIdle();
        if (burn_drive_wrote_well(drive_) != 1) {
            error = "erasing failed: " + TakeLibburnMessages();
            return false;
        }
        return true;
    }

    bool write(int fd, uint64_t size, const WriteProgress &progress, std::string &error) override
    {
        if (!drive_) {
            error = "the drive is not open";
            return false;
        }
        return WriteTrack(drive_, fd, size, 0, progress, error);
    }

    bool eject(std::string &error) override
    {
        // Releasing with the eject flag opens the tray; grab again to go on.
        if (!drive_) {
            error = "the drive is not open";
            return false;
        }
        burn_drive_release(drive_, 1);
        const bool again = burn_drive_grab(drive_, 0) == 1;
        if (!again)
            error = "cannot open the drive again after ejecting";
        return again;
    }
    bool load(std::string &error) override
    {
        if (!drive_) {
            error = "the drive is not open";
            return false;
        }
        burn_drive_release(drive_, 0);
        const bool again = burn_drive_grab(drive_, 1) == 1;
        if (!again)
            error = "cannot load the tray";
        return again;
    }
    // libburn keeps the tray locked while the drive is grabbed.
    bool lockTray(bool, std::string &) override { return drive_ != nullptr; }

private:
    void waitIdle()
    {
        while (burn_drive_get_status(drive_, nullptr) == BURN_DRIVE_SPAWNING)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        while (burn_drive_get_status(drive_, nullptr) != BURN_DRIVE_IDLE)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    std::string address_, vendor_, product_, revision_;
    std::mutex mutex_;
    burn_drive_info *infos_ = nullptr;
    burn_drive *drive_ = nullptr;
    uint32_t current_ = 0;
};

} // namespace

std::shared_ptr<Drive> MakeOpticalDrive(const std::string &address, const std::string &vendor,
                                        const std::string &product, const std::string &revision)
{
    return std::make_shared<OpticalDrive>(address, vendor, product, revision);
}

} // namespace starburn
