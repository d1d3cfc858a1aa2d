// The twelve item bitmaps every clip list and clip strip draws with, loaded
// once from the resource folder and shared.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt::common {

enum class SharedBitmapId {
    SrtEnabledBmp,
    SrtDisabledBmp,
    SrtEnabledBmpOn,
    SrtDisabledBmpOn,
    SetupClipSelectBmp,
    SetupClipSelectBmpOn,
    SetupClipUnSelectBmp,
    SetupClipUnSelectBmpOn,
    MenuClipSelectBmp,
    MenuClipSelectBmpOn,
    MenuClipUnSelectBmp,
    MenuClipUnSelectBmpOn,
};
inline constexpr size_t kSharedBitmapCount = 12;

// The list entries' background colour, drawn transparent in the frame bitmaps.
inline constexpr uint32_t kItemBackgroundColour = 0x797571;

struct SharedBitmap {
    const char *fileName;
    std::optional<uint32_t> transparentColour;  // colour value 0x00BBGGRR
    QImage image;
};

class SharedBitmaps {
public:
    SharedBitmaps();

    // Loads every bitmap from resFolder (names matched without regard to
    // case). Returns one message per bitmap that could not be loaded; those
    // stay empty.
    std::vector<std::string> load(const std::string &resFolder);
    void free();

    const SharedBitmap &operator[](SharedBitmapId id) const { return bitmaps_[static_cast<size_t>(id)]; }

private:
    std::array<SharedBitmap, kSharedBitmapCount> bitmaps_;
};

SharedBitmaps &programSharedBitmaps();

} // namespace vt::common
