// The local disks the program may put work and output folders on.
//
// A volume is a writable mount that can hold files (what the original
// platform called a fixed disk): disks, ZFS, overlay and tmpfs roots,
// network shares; not the kernel's own file systems, disc images or optical
// drives. The real list comes from /proc/self/mountinfo with statvfs free
// space; tests hand in their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt {

struct Volume {
    std::string root;        // mount point, with a trailing '/'
    uint64_t freeBytes = 0;  // space available to this user
};

class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // The volumes in mount order.
    virtual std::vector<Volume> volumes() const = 0;
};

// The volumes of this machine.
class SystemVolumes final : public VolumeSource {
public:
    std::vector<Volume> volumes() const override;
};

// Parses mountinfo text into the writable mounts that can hold files, in
// order, without free space (filled in by SystemVolumes). Bind mounts of
// single files and read-only mounts are left out.
std::vector<std::string> parseMountInfo(const std::string &mountinfo);

// The space available to this user on the file system that holds path,
// measured on path itself; nothing when it cannot be asked.
std::optional<uint64_t> freeBytesAt(const std::string &path);

// True when the existing folder path is the top of a file system: "/", a
// listed volume's root, or a mount point (its parent lies on another device).
bool isFileSystemRoot(const VolumeSource &source, const std::string &path);

// The volume a path lies on: the listed volume with the longest mount point
// that contains it. Nothing when the path is relative or on no listed volume.
std::optional<Volume> volumeOf(const VolumeSource &source, const std::string &path);

} // namespace vt
