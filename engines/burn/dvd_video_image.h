// The DVD-Video file system (ISO 9660 with the UDF bridge) of an authored
// VIDEO_TS folder, made by genisoimage (found on PATH) and delivered as a
// stream of a size known before the first byte.
//
// genisoimage reads a staging tree in the temporary folder: a root with
// VIDEO_TS/ (links under upper-case names to the folder's files) and an
// empty AUDIO_TS/, so nothing is written next to the user's files.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace starburn {

struct ImageIdentity {
    std::string volumeLabel;
    std::string publisher;
    std::string application;
};

class DvdVideoImage {
public:
    DvdVideoImage() = default;
    ~DvdVideoImage();
    DvdVideoImage(const DvdVideoImage &) = delete;
    DvdVideoImage &operator=(const DvdVideoImage &) = delete;

    // Checks the folder, stages it and measures the image (genisoimage
    // -print-size, which also validates the DVD-Video structures). False
    // with the reason in error.
    bool prepare(const std::string &videoTsFolder, const ImageIdentity &identity, std::string &error);
    uint64_t size() const { return size_; }

    // Files of the folder that went away since prepare (their paths).
    std::vector<std::string> missingFiles() const;

    // Starts genisoimage writing the image; returns the read end of its
    // output, or -1 with error set.
    int start(std::string &error);
    // Waits for genisoimage after the stream was read (or abandoned); true
    // when it exited with status 0. error gets its messages otherwise.
    bool finish(std::string &error);

private:
    std::string stagingRoot() const { return staging_ + "/root"; }
    std::string logPath() const { return staging_ + "/genisoimage.log"; }
    bool run(bool printSize, int *stdoutFd, pid_t *pid, std::string &error);
    std::string messages() const;

    std::string staging_;
    ImageIdentity identity_;
    uint64_t size_ = 0;
    pid_t pid_ = -1;
    int outputFd_ = -1;
};

} // namespace starburn
