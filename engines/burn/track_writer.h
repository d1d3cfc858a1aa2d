// Writes one data track, read from a file descriptor of a known size, to a
// grabbed libburn drive through a fifo, and tells whether it was written
// whole: libburn pads or truncates a stream that does not match its size
// and may call such a write good, so the bytes delivered are counted too.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace burn {
struct burn_drive;
}

namespace starburn {

// Called about ten times a second with bytes written and the total.
using WriteProgress = std::function<void(uint64_t written, uint64_t total)>;

// rateKBps > 0 limits how fast the data is delivered (an emulated drive's
// data rate). False with the reason in error.
bool WriteTrack(burn::burn_drive *drive, int fd, uint64_t size, uint32_t rateKBps, const WriteProgress &progress,
                std::string &error);

// The messages libburn queued since the last call, joined; "" when none.
std::string TakeLibburnMessages();

} // namespace starburn
