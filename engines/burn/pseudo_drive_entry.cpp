#include "engines/burn/pseudo_drive_entry.h"

#include "engines/burn/starburn.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace starburn {

namespace {

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    return parts;
}

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

template <typename Number>
bool parseNumber(const std::string &text, Number &value)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool parseSwitch(const std::string &key, const std::string &value, bool &flag, std::string &error)
{
    if (value == "fail" || value == "ok") {
        flag = value == "fail";
        return true;
    }
    error = key + " takes fail or ok, not \"" + value + "\"";
    return false;
}

} // namespace

int32_t DiscTypeFromName(const std::string &name)
{
    static const struct {
        const char *name;
        int32_t type;
    } kNames[] = {
        {"CD-ROM", STARBURN_DISC_CDROM},     {"CD-R", STARBURN_DISC_CDR},
        {"CD-RW", STARBURN_DISC_CDRW},       {"DVD-ROM", STARBURN_DISC_DVDROM},
        {"DVD-R", STARBURN_DISC_DVDR},       {"DVD-RAM", STARBURN_DISC_DVDRAM},
        {"DVD-RW", STARBURN_DISC_DVDRW_SEQUENTIAL}, {"DVD+RW", STARBURN_DISC_DVDPLUSRW},
        {"DVD+R", STARBURN_DISC_DVDPLUSR},   {"DVD+R DL", STARBURN_DISC_DVDPLUSR_DL},
        {"DVD-R DL", STARBURN_DISC_DVDR_DL}, {"BD-ROM", STARBURN_DISC_BDROM},
        {"BD-R", STARBURN_DISC_BDR},         {"BD-RE", STARBURN_DISC_BDRE},
        {"EMPTY", STARBURN_DISC_EMPTY},
    };
    std::string upper = trimmed(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    std::replace(upper.begin(), upper.end(), '_', ' ');
    for (const auto &known : kNames)
        if (upper == known.name)
            return known.type;
    return -1;
}

int32_t DiscTypeFromProfile(int profile)
{
    switch (profile) {
    case 0x00: return STARBURN_DISC_EMPTY;
    case 0x08: return STARBURN_DISC_CDROM;
    case 0x09: return STARBURN_DISC_CDR;
    case 0x0a: return STARBURN_DISC_CDRW;
    case 0x10: return STARBURN_DISC_DVDROM;
    case 0x11: return STARBURN_DISC_DVDR;
    case 0x12: return STARBURN_DISC_DVDRAM;
    case 0x13: return STARBURN_DISC_DVDRW_OVERWRITE;
    case 0x14: return STARBURN_DISC_DVDRW_SEQUENTIAL;
    case 0x15:
    case 0x16: return STARBURN_DISC_DVDR_DL;
    case 0x1a: return STARBURN_DISC_DVDPLUSRW;
    case 0x1b: return STARBURN_DISC_DVDPLUSR;
    case 0x2b: return STARBURN_DISC_DVDPLUSR_DL;
    case 0x40: return STARBURN_DISC_BDROM;
    case 0x41:
    case 0x42: return STARBURN_DISC_BDR;
    case 0x43: return STARBURN_DISC_BDRE;
    case 0x50: return STARBURN_DISC_HDDVD_ROM;
    case 0x51: return STARBURN_DISC_HDDVD_R;
    case 0x52: return STARBURN_DISC_HDDVD_RW;
    default: return STARBURN_DISC_UNKNOWN;
    }
}

bool IsRewritableDisc(int32_t discType)
{
    switch (discType) {
    case STARBURN_DISC_CDRW:
    case 12:
    case STARBURN_DISC_DVDRAM:
    case STARBURN_DISC_DVDRW_OVERWRITE:
    case STARBURN_DISC_DVDRW_SEQUENTIAL:
    case STARBURN_DISC_DVDPLUSRW:
    case STARBURN_DISC_BDRE:
    case STARBURN_DISC_HDDVD_RW:
        return true;
    default:
        return false;
    }
}

bool ParsePseudoDriveEntry(const std::string &text, PseudoDriveEntry &entry, std::string &error)
{
    entry = PseudoDriveEntry();
    const std::vector<std::string> fields = split(text, ',');
    const std::string address = fields.empty() ? std::string() : trimmed(fields[0]);
    if (address.rfind("stdio:", 0) != 0 || address.size() <= 6) {
        error = "a pseudo-drive starts with stdio:PATH, not \"" + address + "\"";
        return false;
    }
    entry.path = address.substr(6);
    for (size_t i = 1; i < fields.size(); ++i) {
        const std::string field = trimmed(fields[i]);
        const size_t eq = field.find('=');
        const std::string key = trimmed(field.substr(0, eq));
        const std::string value = eq == std::string::npos ? std::string() : trimmed(field.substr(eq + 1));
        if (key == "type") {
            entry.discType = DiscTypeFromName(value);
            if (entry.discType < 0) {
                error = "unknown media type \"" + value + "\"";
                return false;
            }
        } else if (key == "capacity") {
            if (!parseNumber(value, entry.capacity) || entry.capacity < 2048) {
                error = "capacity takes a number of bytes, not \"" + value + "\"";
                return false;
            }
        } else if (key == "speeds") {
            entry.speeds.clear();
            for (const std::string &part : split(value, '/')) {
                uint32_t speed = 0;
                if (!parseNumber(trimmed(part), speed) || speed == 0) {
                    error = "speeds takes KB/s values separated by /, not \"" + value + "\"";
                    return false;
                }
                entry.speeds.push_back(speed);
            }
            std::sort(entry.speeds.begin(), entry.speeds.end());
            entry.speeds.erase(std::unique(entry.speeds.begin(), entry.speeds.end()), entry.speeds.end());
        } else if (key == "rate") {
            if (!parseNumber(value, entry.rate)) {
                error = "rate takes KB/s, not \"" + value + "\"";
                return false;
            }
        } else if (key == "erase") {
            if (!parseSwitch(key, value, entry.eraseFails, error))
                return false;
        } else if (key == "write") {
            if (!parseSwitch(key, value, entry.writeFails, error))
                return false;
        } else if (key == "ready") {
            if (!parseSwitch(key, value, entry.readyFails, error))
                return false;
        } else {
            error = "unknown pseudo-drive key \"" + key + "\"";
            return false;
        }
    }
    return true;
}

std::vector<PseudoDriveEntry> ParsePseudoDriveList(const std::string &text, std::vector<std::string> &errors)
{
    std::vector<PseudoDriveEntry> entries;
    for (const std::string &part : split(text, ';')) {
        if (trimmed(part).empty())
            continue;
        PseudoDriveEntry entry;
        std::string error;
        if (ParsePseudoDriveEntry(part, entry, error))
            entries.push_back(std::move(entry));
        else
            errors.push_back(error);
    }
    return entries;
}

} // namespace starburn
