#include "app/cli/cli_burn.h"

#include "app/burn/burner_facade.h"
#include "app/burn/nms_dvd_engine.h"
#include "app/common/settings.h"
#include "app/production/volume_label.h"
#include "engines/burn/iso_volume.h"
#include "engines/burn/pseudo_drive_entry.h"
#include "platform/paths.h"

#include <charconv>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <mutex>

namespace fs = std::filesystem;

namespace vt::cli {

namespace {

constexpr uint64_t kBurnReserveBytes = 52428800;  // 50 MiB beyond the folder

// The posted burner notifications, shown on stderr when pumped.
class ConsoleBurnTarget {
public:
    ConsoleBurnTarget()
    {
        target_.post = &ConsoleBurnTarget::post;
        target_.pump = &ConsoleBurnTarget::pump;
        target_.user = this;
    }
    VtMessageTarget *target() { return &target_; }

private:
    struct Message {
        intptr_t first, second;
    };
    static void post(VtMessageTarget *self, uint32_t msg, intptr_t first, intptr_t second)
    {
        auto *me = static_cast<ConsoleBurnTarget *>(self->user);
        if (msg != burn::kBurnerMessage)
            return;
        std::lock_guard<std::mutex> lock(me->mutex_);
        me->queue_.push_back({first, second});
    }
    static void pump(VtMessageTarget *self)
    {
        auto *me = static_cast<ConsoleBurnTarget *>(self->user);
        std::deque<Message> messages;
        {
            std::lock_guard<std::mutex> lock(me->mutex_);
            messages.swap(me->queue_);
        }
        for (const Message &m : messages) {
            if (m.first == 3 && m.second != me->shown_) {
                me->shown_ = int(m.second);
                std::cerr << "Burning: " << m.second << "%\n";
            } else if (m.first == 4 && m.second == 0) {
                std::cerr << "Padding the disc...\n";
            }
        }
    }

    VtMessageTarget target_{};
    std::mutex mutex_;
    std::deque<Message> queue_;
    int shown_ = -1;
};

// The facade over the burning library, with the device layer's status
// lines on stderr.
// The engine is the one the settings choose, as in the program.
struct BurnSession {
    std::unique_ptr<burn::BurnerFacade> facade;
    ConsoleBurnTarget console;

    BurnSession()
    {
        const common::Settings &settings = common::programSettings();
        auto engine = burn::MakeBurnEngine(settings.firstBurnEngine, ExePath(),
                                           [](burn::LogChannel channel, int severity, const std::string &line) {
                                               if (channel == burn::LogChannel::Status || severity >= 2)
                                                   std::cerr << line << "\n";
                                           });
        facade = std::make_unique<burn::BurnerFacade>(std::move(engine), burn::BurnerSettings{settings.modifyIfo});
        facade->RegisterNotifyWindow(console.target());
        facade->InitDevices(settings.useSpti, true);
    }

    int count() { return facade->engine().deviceCount(); }

    // The index of a device given by number or address; -1.
    int find(const std::string &device)
    {
        int number = -1;
        const auto parsed = std::from_chars(device.data(), device.data() + device.size(), number);
        if (parsed.ec == std::errc() && parsed.ptr == device.data() + device.size())
            return number >= 0 && number < count() ? number : -1;
        const std::string address = device.substr(0, device.find(','));
        for (int i = 0; i < count(); ++i)
            if (facade->engine().deviceAddress(i) == address)
                return i;
        return -1;
    }
};

std::string absolute(const std::string &path)
{
    std::error_code ec;
    return fs::absolute(path, ec).lexically_normal().string();
}

// The VIDEO_TS folder of a DVD folder (any letter case), or of itself.
std::string videoTsOf(const std::string &dvdFolder)
{
    std::error_code ec;
    const fs::path folder = absolute(dvdFolder);
    if (!fs::is_directory(folder, ec))
        return "";
    std::string upper = folder.filename().string();
    for (char &c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "VIDEO_TS")
        return folder.string();
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        for (char &c : name)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (name == "VIDEO_TS" && entry.is_directory(ec))
            return entry.path().string();
    }
    return "";
}

// A pseudo-drive for the image file: a rewritable disc of DVD-9 size.
std::string isoDriveEntry(const std::string &isoFile)
{
    return "stdio:" + absolute(isoFile) + ",type=DVD+RW,capacity=" + std::to_string(starburn::kDvd9Bytes);
}

std::string twoDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The speed index for "N times": the fastest listed speed not above it.
int speedIndex(const std::vector<std::string> &labels, int times)
{
    if (labels.empty())
        return -1;
    if (times <= 0)
        return int(labels.size()) - 1;
    int chosen = 0;
    for (size_t i = 0; i < labels.size(); ++i)
        if (std::atof(labels[i].c_str()) <= times)
            chosen = int(i);
    return chosen;
}

} // namespace

bool ParseBurnOption(const std::vector<std::string> &args, size_t &i, BurnTarget &target, std::string &error)
{
    const std::string &arg = args[i];
    if (arg != "--iso" && arg != "--burn" && arg != "--speed" && arg != "--erase")
        return false;
    if (arg == "--erase") {
        target.erase = true;
        return true;
    }
    if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return true;
    }
    const std::string &value = args[++i];
    if (arg == "--iso") {
        target.isoFile = value;
    } else if (arg == "--burn") {
        target.device = value;
    } else {
        int speed = -1;
        const auto parsed = std::from_chars(value.data(), value.data() + value.size(), speed);
        if (parsed.ec != std::errc() || parsed.ptr != value.data() + value.size() || speed < 0 || speed > 64)
            error = "--speed takes a whole number of times DVD speed (0 for the fastest)";
        else
            target.speed = speed;
    }
    return true;
}

std::string CheckBurnTarget(const BurnTarget &target)
{
    if (!target.isoFile.empty() && !target.device.empty())
        return "--iso and --burn cannot be used together";
    if (!target.wanted() && (target.erase || target.speed != 0))
        return "--speed and --erase go with --burn or --iso";
    return "";
}

std::string ParseBurnCommand(const std::vector<std::string> &args, BurnCommand &command)
{
    for (size_t i = 1; i < args.size(); ++i) {
        std::string error;
        if (ParseBurnOption(args, i, command.target, error)) {
            if (!error.empty())
                return error;
        } else if (args[i] == "--label") {
            if (i + 1 >= args.size())
                return "--label needs a value";
            command.label = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return "unknown option \"" + args[i] + "\"";
        } else if (command.dvdFolder.empty()) {
            command.dvdFolder = args[i];
        } else {
            return "burn takes one DVD folder";
        }
    }
    if (command.dvdFolder.empty())
        return "burn needs a DVD folder";
    if (!command.target.wanted())
        return "burn needs --iso FILE or --burn DEVICE";
    return CheckBurnTarget(command.target);
}

std::string PrecheckBurnTarget(const BurnTarget &target)
{
    if (target.isoFile.empty())
        return "";
    std::error_code ec;
    const fs::path file = absolute(target.isoFile);
    if (fs::is_directory(file, ec))
        return target.isoFile + " is a folder";
    if (!fs::is_directory(file.parent_path(), ec))
        return "no folder " + file.parent_path().string() + " for the image";
    if (!fs::exists(file, ec) || fs::file_size(file, ec) == 0)
        return "";
    if (!starburn::ReadIsoVolume(file.string()).present)
        return target.isoFile + " exists and is not a disc image; it is left as it is";
    if (!target.erase)
        return target.isoFile + " already holds a disc image; --erase replaces it";
    return "";
}

int RunBurn(const std::string &dvdFolder, const std::string &label, const BurnTarget &target, std::ostream &out)
{
    const std::string videoTs = videoTsOf(dvdFolder);
    if (videoTs.empty()) {
        std::cerr << "No DVD folder to burn! (" << dvdFolder << " has no VIDEO_TS folder)\n";
        return 2;
    }
    if (const std::string problem = PrecheckBurnTarget(target); !problem.empty()) {
        std::cerr << problem << "\n";
        return 2;
    }
    if (!target.isoFile.empty()) {
        // The image is one more pseudo-drive, after the listed ones.
        const char *listed = std::getenv("VANTOREL_BURN_DRIVES");
        std::string drives = listed && *listed ? std::string(listed) + ";" : std::string();
        ::setenv("VANTOREL_BURN_DRIVES", (drives + isoDriveEntry(target.isoFile)).c_str(), 1);
    }

    BurnSession session;
    burn::BurnerFacade &facade = *session.facade;
    const std::string device = target.isoFile.empty() ? target.device : "stdio:" + absolute(target.isoFile);
    const int index = session.find(device);
    if (index < 0) {
        std::cerr << "Unknown burning device! (" << device << "; vantorel-cli drives lists them)\n";
        return 1;
    }
    int check = facade.CheckDisc(index);
    std::cerr << "Inserted media : " << facade.MediaName() << "\n";
    if (check == burn::kDiscMustBeErased) {
        if (!target.erase) {
            std::cerr << "The " << facade.MediaName() << " disc in " << device
                      << " holds data; --erase erases it first.\n";
            return 1;
        }
        std::cerr << "Start to erase disc\n";
        if (!facade.EraseDisc()) {
            std::cerr << "Can not erase this disc, please use other special disc tool to erase it\n";
            return 1;
        }
        std::cerr << "<<< Erase disc finish\n";
        check = facade.CheckDisc(index);
    }
    if (check == burn::kNoUsableDevice) {
        std::cerr << "Unknown burning device! (" << device << ")\n";
        return 1;
    }
    if (check != burn::kDiscReady) {
        std::cerr << "Unknown or Unsupported disc (" << facade.MediaName() << "), please insert a blank disc.\n";
        return 1;
    }
    const uint64_t needed = burn::BurnerFacade::FolderSize(videoTs);
    const uint64_t free = facade.FreeSpace();
    if (free < needed + kBurnReserveBytes) {
        std::cerr << "Disc size smaller than DVD size, please insert another larger size disc ("
                  << twoDecimals(double(free) / 1048576) << " MB free, "
                  << twoDecimals(double(needed + kBurnReserveBytes) / 1048576) << " MB needed).\n";
        return 1;
    }
    const std::vector<std::string> speeds = facade.WriteSpeeds(index, false);
    facade.SelectSpeed(speedIndex(speeds, target.speed));
    std::string volume = label.empty() ? fs::path(videoTs).parent_path().filename().string() : label;
    volume = production::CleanVolumeLabel(volume);
    facade.SetVolumeLabel(volume);
    facade.SetSourceFolder(videoTs);
    std::cerr << "Start to burn DVD disc >>>\n";
    if (!facade.BurnFolder()) {
        std::cerr << "<<< Burning process wrong\n";
        return 1;
    }
    facade.Eject();

    if (!target.isoFile.empty()) {
        const starburn::IsoVolume written = starburn::ReadIsoVolume(absolute(target.isoFile));
        std::error_code ec;
        const uint64_t bytes = fs::file_size(absolute(target.isoFile), ec);
        if (!written.present || written.label != facade.volumeLabel() || ec || bytes != written.bytes) {
            std::cerr << "The image " << target.isoFile << " does not hold the DVD-Video file system it should.\n";
            return 1;
        }
        out << "Image: " << absolute(target.isoFile) << "\n"
            << "Volume label: " << written.label << "\n"
            << "Size: " << bytes / 1048576 << " MB (" << bytes << " bytes)\n";
    } else {
        out << "Disc: " << device << " (" << facade.DeviceName(index) << ")\n"
            << "Volume label: " << facade.volumeLabel() << "\n";
    }
    return 0;
}

int RunBurnCommand(const BurnCommand &command, std::ostream &out)
{
    return RunBurn(command.dvdFolder, command.label, command.target, out);
}

int RunDrives(std::ostream &out)
{
    BurnSession session;
    burn::BurnerFacade &facade = *session.facade;
    if (session.count() == 0) {
        out << "No drives. Pseudo-drives are listed in VANTOREL_BURN_DRIVES, e.g.\n"
            << "  VANTOREL_BURN_DRIVES=\"stdio:/tmp/disc.iso,type=DVD+R\"\n";
        return 0;
    }
    for (int index = 0; index < session.count(); ++index) {
        const int check = facade.CheckDisc(index);
        const std::vector<std::string> speeds = facade.WriteSpeeds(index, false);
        std::string speedText;
        for (const std::string &speed : speeds)
            speedText += (speedText.empty() ? "" : " ") + speed;
        out << index << ": " << facade.engine().deviceAddress(index) << "\n"
            << "   drive   " << facade.DeviceName(index) << "\n"
            << "   media   " << facade.MediaName()
            << (check == burn::kDiscReady          ? ", blank"
                : check == burn::kDiscMustBeErased ? ", holds data (rewritable)"
                : check == burn::kNoUsableDisc     ? ", not writable"
                                                   : ", not usable")
            << "\n";
        if (const std::string label = facade.engine().discLabel(); !label.empty())
            out << "   label   " << label << "\n";
        out << "   free    " << twoDecimals(facade.FreeMB()) << " MB, used " << twoDecimals(facade.UsedMB())
            << " MB\n"
            << "   speeds  " << (speedText.empty() ? "N/A" : speedText) << "\n";
    }
    return 0;
}

std::string BurnUsageText()
{
    return R"(  vantorel-cli burn DVD_FOLDER (--iso FILE | --burn DEVICE [--speed N] [--erase])
                    [--label NAME]
      Writes an authored DVD folder (the folder holding VIDEO_TS, or
      VIDEO_TS itself) as a DVD-Video disc or ISO image.

  vantorel-cli drives
      Lists the drives with the disc in each: media type, blank or not,
      label, free and used space, write speeds.

Burn options (also at the end of build):
  --iso FILE        write a DVD-Video ISO image (ISO 9660 + UDF) to FILE
  --burn DEVICE     burn to a drive: its number or address from "drives"
                    (/dev/sr0, or stdio:PATH for a pseudo-drive)
  --speed N         write at N times DVD speed at most (default: fastest)
  --erase           erase a rewritable disc (or replace an image) that
                    holds data; without it such a disc is left alone
Pseudo-drives (image files with an emulated disc) come from
VANTOREL_BURN_DRIVES, entries separated by ';':
  stdio:PATH,type=DVD+R,capacity=BYTES,speeds=5540/11080,rate=KBPS
)";
}

} // namespace vt::cli
