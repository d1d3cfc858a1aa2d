// The drives the library knows: the optical drives libburn finds, then the
// pseudo-drives of $VANTOREL_BURN_DRIVES and those added at run time.
#pragma once

#include "engines/burn/drive.h"

#include <memory>
#include <string>
#include <vector>

namespace starburn {

class DriveTable {
public:
    static DriveTable &instance();

    // Starts libburn once and (re)builds the table. False with error when
    // libburn cannot start.
    bool start(std::string &error);
    void stop();
    bool started() const { return started_; }

    // Adds a pseudo-drive entry; false with the reason.
    bool addPseudoDrive(const std::string &entry, std::string &error);

    // "CdRomN" (N counts from 0 in table order), a drive's address, or a
    // pseudo-drive entry (added when it names no known drive); nullptr when
    // none.
    std::shared_ptr<Drive> find(const std::string &name, std::string &error);

    size_t count() const { return drives_.size(); }

private:
    bool started_ = false;
    bool libburnUp_ = false;
    std::vector<std::shared_ptr<Drive>> drives_;
    std::vector<std::string> added_;
};

} // namespace starburn
