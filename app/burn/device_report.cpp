#include "app/burn/device_report.h"

#include "app/burn/burn_engine.h"
#include "app/burn/burner_facade.h"
#include "app/common/format_hms.h"

#include <algorithm>
#include <cstdio>

namespace vt::burn {

namespace {

std::string twoDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

DeviceReport ReadDeviceReport(BurnerFacade &facade, int drive)
{
    DeviceReport report;
    const int check = facade.CheckDisc(drive);
    if (check == kNoUsableDevice) {
        report.discType = report.availableMB = report.usedMB = report.tracks = report.sessions = kNotAvailable;
    } else {
        report.discType = facade.MediaName();
        report.availableMB = twoDecimals(facade.FreeMB());
        report.usedMB = twoDecimals(facade.UsedMB());
        report.tracks = std::to_string(facade.LastTrack());
        report.sessions = std::to_string(facade.SessionCount());
    }
    report.canErase = check == kDiscMustBeErased;
    report.driveType = facade.DeviceName(drive);
    const std::vector<std::string> speeds = facade.WriteSpeeds(drive, false);
    report.maxWrite = speeds.empty() ? kNotAvailable : speeds.back();
    // The burner layer lists no read speeds.
    report.maxRead = kNotAvailable;
    report.dvdMinusR = facade.SupportsDVDMinusR();
    report.dvdPlusR = facade.SupportsDVDPlusR();
    report.dvdPlusRW = facade.SupportsDVDPlusRW();
    report.dualLayer = facade.SupportsDualLayer();
    return report;
}

EraseTick EraseTickDisplay(int tick)
{
    return {common::FormatHMS(tick / 2), std::min(99, tick * 100 / 360)};
}

} // namespace vt::burn
