#include "app/burn/drive_list.h"

#include "app/burn/burner_facade.h"

namespace vt::burn {

std::vector<std::string> ListDrives(BurnerFacade &facade)
{
    std::vector<std::string> drives;
    for (int i = 0; i < kMaxDrives; ++i) {
        std::string name = facade.DeviceName(i);
        if (name.empty())
            break;
        drives.push_back(std::move(name));
    }
    return drives;
}

SpeedList SpeedListFor(BurnerFacade &facade, int drive, bool refresh, const std::string &unsupportedText)
{
    SpeedList list;
    list.items = facade.WriteSpeeds(drive, refresh);
    list.usable = !list.items.empty();
    if (!list.usable)
        list.items = {unsupportedText};
    list.selected = int(list.items.size()) - 1;
    return list;
}

DriveChoice ChooseDrive(BurnerFacade &facade, int requested, const std::string &unsupportedText)
{
    DriveChoice choice;
    choice.drives = ListDrives(facade);
    const int count = int(choice.drives.size());
    if (count == 0)
        return choice;
    if (requested == -1) {
        for (int i = 0; i < count; ++i) {
            SpeedList speeds = SpeedListFor(facade, i, true, unsupportedText);
            if (speeds.usable) {
                choice.selected = i;
                choice.speeds = std::move(speeds);
                return choice;
            }
        }
    }
    choice.selected = requested >= 0 && requested < count ? requested : 0;
    choice.speeds = SpeedListFor(facade, choice.selected, true, unsupportedText);
    return choice;
}

} // namespace vt::burn
