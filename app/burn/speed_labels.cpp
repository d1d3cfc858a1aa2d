#include "app/burn/speed_labels.h"

#include <algorithm>

namespace vt::burn {

const SpeedTable &CdSpeedTable()
{
    static const SpeedTable table{{176, "1.0x"},   {353, "2.0x"},   {387, "2.2x"},   {528, "3.0x"},
                                  {706, "4.0x"},   {1400, "8.0x"},  {1760, "10.0x"}, {2112, "12.0x"},
                                  {2800, "16.0x"}, {3250, "20.0x"}, {4224, "24.0x"}, {5632, "32.0x"},
                                  {7040, "40.0x"}, {7744, "44.0x"}, {8448, "48.0x"}, {9152, "52.0x"}};
    return table;
}

const SpeedTable &DvdSpeedTable()
{
    static const SpeedTable table{{1385, "1.0x"}, {2770, "2.0x"},  {3324, "2.4x"},   {4155, "3.0x"},
                                  {5540, "4.0x"}, {6925, "5.0x"},  {8310, "6.0x"},   {11080, "8.0x"},
                                  {16620, "12.0x"}, {22160, "16.0x"}};
    return table;
}

const SpeedTable *SpeedTableFor(int32_t discType)
{
    switch (discType) {
    case 2: case 3: case 11: case 12:
        return &CdSpeedTable();
    case 5: case 6: case 7: case 8: case 9: case 13: case 15: case 16:
        return &DvdSpeedTable();
    default:
        return nullptr;
    }
}

std::optional<std::string> LabelForSpeed(const SpeedTable &table, uint32_t kbps)
{
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        const WriteSpeed &lower = table[i];
        const WriteSpeed &upper = table[i + 1];
        if (lower.kbps <= kbps && kbps <= upper.kbps)
            return kbps - lower.kbps <= upper.kbps - kbps ? lower.label : upper.label;
    }
    if (table.size() == 1 && table[0].kbps == kbps)
        return table[0].label;
    return std::nullopt;
}

std::vector<WriteSpeed> ProbeWriteSpeeds(const SpeedTable &table, uint32_t maximumWrite,
                                         const std::function<uint32_t(uint32_t)> &askSpeed)
{
    std::vector<WriteSpeed> speeds;
    uint32_t lastAccepted = 0;
    for (const WriteSpeed &entry : table) {
        if (entry.kbps > lastAccepted) {
            const uint32_t remembered = lastAccepted;
            lastAccepted = askSpeed(entry.kbps);
            if (lastAccepted != remembered) {
                const std::optional<std::string> label = LabelForSpeed(table, lastAccepted);
                const bool listed = std::any_of(speeds.begin(), speeds.end(),
                                                [&](const WriteSpeed &s) { return s.kbps == lastAccepted; });
                if (label && !listed)
                    speeds.push_back({lastAccepted, *label});
            }
        }
        if (entry.kbps == maximumWrite)
            break;
    }
    return speeds;
}

} // namespace vt::burn
