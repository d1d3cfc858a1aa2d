#include "app/burn/burn_dvd_video.h"

#include <cstdio>

namespace vt::burn {

namespace {

class Steps {
public:
    explicit Steps(CDevice &device) : device_(device) {}
    void status(const std::string &line, int severity = 0) { device_.log(LogChannel::Status, severity, line); }
    bool fail(const std::string &line)
    {
        status(line, 2);
        return false;
    }

private:
    CDevice &device_;
};

// Frees the DVD-Video object on every way out.
struct DvdVideoObject {
    StarBurnLibrary *library = nullptr;
    void *object = nullptr;
    ~DvdVideoObject()
    {
        if (object)
            library->dvdVideoDestroy(object);
    }
};

#define LIBRARY_CALL(fn, ...)                                                                              \
    [&]() {                                                                                                \
        char errorText[STARBURN_TEXT_SIZE] = {}, detail[STARBURN_TEXT_SIZE] = {};                          \
        uint32_t status = 0;                                                                               \
        const int code = lib->fn(device.grabber(), errorText, STARBURN_TEXT_SIZE, &status, detail,         \
                                 ##__VA_ARGS__);                                                           \
        if (code != STARBURN_OK)                                                                           \
            device.log(LogChannel::Trace, 2, std::string(#fn) + ": " + errorText);                         \
        return device.record(code, status, errorText, detail);                                             \
    }()

} // namespace

bool BurnDVDVideo(CDevice &device, const DvdVideoBurnOptions &options)
{
    Steps steps(device);
    StarBurnLibrary *lib = device.library();
    if (!lib)
        return steps.fail("Started Error!");

    // 1. The file system of the folder.
    steps.status("Started");
    DvdVideoObject video{lib, nullptr};
    {
        char errorText[STARBURN_TEXT_SIZE] = {}, detail[STARBURN_TEXT_SIZE] = {};
        uint32_t status = 0;
        const int code = lib->dvdVideoCreate(&video.object, errorText, STARBURN_TEXT_SIZE, &status, detail,
                                             options.videoTsFolder.c_str(), options.modifyIfo ? 1 : 0,
                                             options.volumeLabel.c_str(), kDvdPublisher, kDvdApplication, 2007,
                                             7, 1, 0, 0, 0, 0);
        device.record(code, status, errorText, detail);
        if (code != STARBURN_OK) {
            video.object = nullptr;
            device.log(LogChannel::Trace, 2, errorText);
            return steps.fail("Creating DVD-Video file system failed!");
        }
    }

    // 2. The burner object.
    if (!device.CdvdBurnerGrabberCreate())
        return steps.fail("Started Error!");

    // 3.
    steps.status("Testing unit ready...");
    if (!device.TestUnitReady())
        return steps.fail("Unit is not ready!");
    steps.status("Unit is ready!");

    // 4.
    steps.status("Probing supported write modes...");
    if (!device.RefreshReadWriteModes())
        return steps.fail("Probing supported write modes Error!");
    if (!device.trackAtOnce())
        return steps.fail("Track-At-Once is unsupported!");

    // 5.
    steps.status("Track-At-Once is supported!");
    const uint64_t imageBytes = lib->dvdVideoGetSize(video.object);
    device.log(LogChannel::Trace, 0, "DVD-Video image: " + std::to_string(imageBytes) + " bytes");

    // 6.
    steps.status("Getting BUP (Buffer Underrun Protection) support...");
    int32_t bupEnabled = 0, bupSupported = 0;
    if (!LIBRARY_CALL(getBUP, &bupEnabled, &bupSupported))
        return steps.fail("Getting BUP failed!");
    steps.status("Getting BUP successfully!");

    // 7.
    steps.status("Enabling BUP (Buffer Underrun Protection)...");
    if (LIBRARY_CALL(setBUP, 1))
        steps.status("Enabling BUP successfully!");
    else
        steps.status("Enabling BUP failed!", 1);

    // 8.
    char line[256];
    std::snprintf(line, sizeof line, "Setting speed %s (%ld KBps)... ", options.speed.label.c_str(),
                  long(options.speed.kbps));
    steps.status(line);
    uint32_t speed = options.speed.kbps;
    if (device.SetSpeed(speed)) {
        std::snprintf(line, sizeof line, "Setting speed %s (%ld KBps) successfully!", options.speed.label.c_str(),
                      long(options.speed.kbps));
        steps.status(line);
    } else {
        steps.status("Setting speed failed!", 1);
    }

    // 9.
    steps.status("Sending OPC (Optimum Power Calibration)...");
    if (LIBRARY_CALL(sendOPC))
        steps.status("Sending OPC successfully.");
    else
        steps.status("Sending OPC Error!", 1);

    // 10.
    device.setProgress(0);
    device.setState(DeviceState::Writing);
    void *tree = lib->dvdVideoGetTree(video.object);
    const bool written = LIBRARY_CALL(trackAtOnceFromTree, tree, 1, options.testWrite ? 1 : 0, 0, 1, 5);
    lib->dvdVideoDestroy(video.object);
    video.object = nullptr;
    device.setState(DeviceState::Idle);
    if (!written)
        return steps.fail("Burning Error!");

    // 11.
    steps.status("Closing session...");
    if (!LIBRARY_CALL(closeSession))
        return steps.fail("Close Session Error!");
    steps.status("Closing session success!");

    // 12.
    device.setProgress(100);
    steps.status("Burning Complete!");
    return true;
}

} // namespace vt::burn
