#include "app/burn/disc_facts.h"

namespace vt::burn {

std::string DiscTypeName(int32_t discType)
{
    static const char *const kNames[] = {
        "Unknown", "CDROM",  "CD-R",     "CD-RW",    "DVD-ROM", "DVD-R", "DVD-RAM",    "DVD-RW",
        "DVD-RW",  "DVD+RW", "CDROM",    "CD-R",     "CD-RW",   "DVD+R", "Empty",      "DVD+R DL",
        "DVD-R DL", "BD-ROM", "BD-R",    "BD-RE",    "HD-DVD ROM", "HD-DVD R", "HD-DVD RW"};
    if (discType < 0 || discType >= int32_t(sizeof kNames / sizeof kNames[0]))
        return kNames[0];
    return kNames[discType];
}

std::string EngineMediaName(int32_t mediaType)
{
    switch (mediaType) {
    case 0: return "No Media.";
    case 1: return "DVD-ROM";
    case 2: return "DVD-RAM";
    case 3: return "DVD-R";
    case 4: return "DVD-R/W";
    case 5: return " DVD+R/W Media.";
    case 6: return "DVD+R Media.";
    case 7: return "DVD-R Dual Layer Media.";
    case 8: return "DVD+R Dual Layer Media.";
    case 9: return "CD-R/W";
    case 10: return "CD-R";
    case 14: return "BD-R (Blu-Ray).";
    case 15: return "BD-RE (Blu-Ray).";
    case 16: return "BD-ROM (Blu-Ray).";
    case 255: return "CDROM";
    default: return "Unknown Media.";
    }
}

uint32_t EraseEstimateSeconds(int32_t discType, bool quick, uint64_t usedBytes, uint64_t freeBytes,
                              uint32_t speedKbps)
{
    if (speedKbps == 0)
        return 0;
    const uint64_t capacityKb = (usedBytes + freeBytes) / 1024;
    uint64_t work = 0;
    if (discType == 3 || discType == 12)
        work = 51200 + (quick ? 0 : capacityKb);
    else if (discType >= 6 && discType <= 9)
        work = 716800 + (quick ? capacityKb : 0);
    else
        return 0;
    return uint32_t(work / speedKbps);
}

} // namespace vt::burn
