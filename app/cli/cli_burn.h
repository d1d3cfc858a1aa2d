// The burn commands of vantorel-cli: writing an authored DVD folder to a
// disc image or a drive, and listing the drives.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vt::cli {

// Where an authored folder goes: an ISO image file or a drive.
struct BurnTarget {
    std::string isoFile;
    std::string device;   // "0", "CdRom0", "/dev/sr0", "stdio:PATH"
    int speed = 0;        // times DVD speed; 0 = the drive's fastest
    bool erase = false;   // erase a rewritable disc that holds data

    bool wanted() const { return !isoFile.empty() || !device.empty(); }
};

// Reads one burn option at args[i] (--iso, --burn, --speed, --erase),
// moving i past its value. True when it was one; error set when unusable.
bool ParseBurnOption(const std::vector<std::string> &args, size_t &i, BurnTarget &target, std::string &error);
// After all options: "" or why the combination cannot be used.
std::string CheckBurnTarget(const BurnTarget &target);

struct BurnCommand {
    std::string dvdFolder;
    std::string label;  // "" for the folder's name
    BurnTarget target;
};

// "burn DVD_FOLDER (--iso FILE | --burn DEVICE [--speed N] [--erase]) [--label NAME]"
// from args[1]; "" or the reason it cannot be used.
std::string ParseBurnCommand(const std::vector<std::string> &args, BurnCommand &command);

// Before a build that ends with a burn: "" or why the target would refuse
// the result (an image file that is not ours to overwrite).
std::string PrecheckBurnTarget(const BurnTarget &target);

// Writes the VIDEO_TS folder of dvdFolder; the exit status (0 only when
// the disc or image was written and verified).
int RunBurn(const std::string &dvdFolder, const std::string &label, const BurnTarget &target, std::ostream &out);
int RunBurnCommand(const BurnCommand &command, std::ostream &out);
int RunDrives(std::ostream &out);

std::string BurnUsageText();

} // namespace vt::cli
