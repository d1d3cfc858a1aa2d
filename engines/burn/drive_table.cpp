#include "engines/burn/drive_table.h"

#include "engines/burn/pseudo_drive_entry.h"

#include <libburn/libburn.h>

using namespace burn;

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace starburn {

DriveTable &DriveTable::instance()
{
    static DriveTable table;
    return table;
}

bool DriveTable::start(std::string &error)
{
    if (!libburnUp_) {
        if (burn_initialize() != 1) {
            error = "libburn cannot start";
            return false;
        }
        // Messages are collected and reported with the call that failed.
        burn_msgs_set_severities(const_cast<char *>("ALL"), const_cast<char *>("NEVER"),
                                 const_cast<char *>("starburn: "));
        libburnUp_ = true;
    }
    drives_.clear();
    burn_drive_info *infos = nullptr;
    unsigned int found = 0;
    // The scan runs in the background until the call says it is done.
    int scanned;
    while ((scanned = burn_drive_scan(&infos, &found)) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (scanned == 1) {
        for (unsigned int i = 0; i < found; ++i) {
            char address[BURN_DRIVE_ADR_LEN] = {};
            if (burn_drive_d_get_adr(infos[i].drive, address) == 1)
                drives_.push_back(MakeOpticalDrive(address, infos[i].vendor, infos[i].product, infos[i].revision));
        }
        burn_drive_info_free(infos);
    }
    std::vector<std::string> problems;
    const char *list = std::getenv("VANTOREL_BURN_DRIVES");
    for (const PseudoDriveEntry &entry : ParsePseudoDriveList(list ? list : "", problems))
        drives_.push_back(MakePseudoDrive(entry));
    for (const std::string &entry : added_) {
        PseudoDriveEntry parsed;
        std::string ignored;
        if (ParsePseudoDriveEntry(entry, parsed, ignored))
            drives_.push_back(MakePseudoDrive(parsed));
    }
    started_ = true;
    return true;
}

void DriveTable::stop()
{
    drives_.clear();
    added_.clear();
    started_ = false;
    if (libburnUp_) {
        burn_finish();
        libburnUp_ = false;
    }
}

bool DriveTable::addPseudoDrive(const std::string &entry, std::string &error)
{
    PseudoDriveEntry parsed;
    if (!ParsePseudoDriveEntry(entry, parsed, error))
        return false;
    added_.push_back(entry);
    drives_.push_back(MakePseudoDrive(parsed));
    return true;
}

std::shared_ptr<Drive> DriveTable::find(const std::string &name, std::string &error)
{
    if (!started_) {
        error = "the library was not started";
        return nullptr;
    }
    if (name.rfind("CdRom", 0) == 0 && name.size() > 5) {
        char *end = nullptr;
        const long index = std::strtol(name.c_str() + 5, &end, 10);
        if (*end == '\0' && index >= 0 && size_t(index) < drives_.size())
            return drives_[size_t(index)];
        error = "no drive " + name;
        return nullptr;
    }
    const std::string address = name.substr(0, name.find(','));
    for (const std::shared_ptr<Drive> &drive : drives_)
        if (drive->address() == address)
            return drive;
    if (name.rfind("stdio:", 0) == 0 && addPseudoDrive(name, error))
        return drives_.back();
    if (error.empty())
        error = "no drive " + name;
    return nullptr;
}

} // namespace starburn
