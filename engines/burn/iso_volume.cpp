#include "engines/burn/iso_volume.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace starburn {

IsoVolume ParseIsoVolume(const unsigned char *descriptor, size_t size)
{
    IsoVolume volume;
    if (size < 2048 || std::memcmp(descriptor + 1, "CD001", 5) != 0)
        return volume;
    volume.present = true;
    std::string label(reinterpret_cast<const char *>(descriptor + 40), 32);
    const size_t last = label.find_last_not_of(" \0", std::string::npos, 2);
    volume.label = last == std::string::npos ? std::string() : label.substr(0, last + 1);
    const uint32_t blocks = uint32_t(descriptor[80]) | uint32_t(descriptor[81]) << 8 |
                            uint32_t(descriptor[82]) << 16 | uint32_t(descriptor[83]) << 24;
    volume.bytes = uint64_t(blocks) * 2048;
    return volume;
}

IsoVolume ReadIsoVolume(const std::string &imagePath)
{
    const int fd = ::open(imagePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return IsoVolume();
    unsigned char descriptor[2048];
    const ssize_t got = ::pread(fd, descriptor, sizeof descriptor, kIsoVolumeDescriptorOffset);
    ::close(fd);
    return ParseIsoVolume(descriptor, got > 0 ? size_t(got) : 0);
}

} // namespace starburn
