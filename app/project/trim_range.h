// Trimming a clip: the range bar's handles ↔ times, and the two typed time
// boxes ("HH:MM:SS") with their colours.
#pragma once

#include <cstdint>
#include <string>

namespace vt::project {

// Geometry of the range bar: two 10-pixel handles on a 242-pixel background;
// the left handle travels over c = 230 − 10 = 220 pixels.
struct RangeBarGeometry {
    int handleWidth = 10;
    int background = 242;
    int travel() const { return 230 - handleWidth; }
};

struct HandlePositions {
    int left = 0;   // left handle's left edge
    int right = 0;  // right handle's left edge
    bool enabled = false;
    bool operator==(const HandlePositions &) const = default;
};

// Handles for a clip's start and end; without a clip (duration ≤ 0) both go
// to their ends, disabled.
HandlePositions PlaceHandles(int32_t start, int32_t end, int32_t duration, const RangeBarGeometry &bar = {});

// Dragging: where a handle (or the stretch between them) may go when the
// mouse asks for proposed. The left handle stays within [0, right − handle
// width], the right one within [left + handle width, 242 − handle width];
// the stretch moves both, keeping its width.
HandlePositions DragLeftHandle(HandlePositions handles, int proposedLeft, const RangeBarGeometry &bar = {});
HandlePositions DragRightHandle(HandlePositions handles, int proposedRight, const RangeBarGeometry &bar = {});
HandlePositions DragStretch(HandlePositions handles, int proposedLeft, const RangeBarGeometry &bar = {});

double StartFraction(int leftHandle, const RangeBarGeometry &bar = {});
double EndFraction(int rightHandle, const RangeBarGeometry &bar = {});

// Start after releasing the left handle (or the stretch): at most
// duration − 10 and at least 0.
int32_t StartFromHandle(int leftHandle, int32_t duration, const RangeBarGeometry &bar = {});
int32_t EndFromHandle(int rightHandle, int32_t duration, const RangeBarGeometry &bar = {});

// The second the preview shows after a release: after moving the start,
// max(start, 1); after moving the end, the end limited to [1, duration − 10].
int32_t PreviewSecondForStart(int32_t start);
int32_t PreviewSecondForEnd(int32_t end, int32_t duration);

// Colour values (0x00BBGGRR) of the time boxes.
inline constexpr uint32_t kTimeBoxNormal = 0xE8E8E8;
inline constexpr uint32_t kTimeBoxInvalid = 0x0000FF;
inline constexpr uint32_t kTimeBoxDragging = 0x00FF00;
inline constexpr const char *kEmptyTimeBox = "  :  :  ";

// The seconds typed into a "HH:MM:SS" box: each digit position read as one
// digit, a blank or anything else as 0.
int32_t TimeBoxValue(const std::string &text);

enum class TimeBoxKind { Start, End };

struct ClipTimes {
    int32_t start = 0, end = 0, duration = 0;
};

// Valid: a start in [0, end], an end in [start, duration].
bool TimeBoxValid(TimeBoxKind kind, int32_t value, const ClipTimes &clip);
uint32_t TimeBoxColour(TimeBoxKind kind, const std::string &text, const ClipTimes *clip);

// Confirming a typed time. Nothing changes (applied false) when the value
// equals the current one or is invalid; a valid start is limited to
// [0, duration − 10].
struct ConfirmedTimes {
    bool applied = false;
    ClipTimes times;
    int32_t previewSecond = 0;
};
ConfirmedTimes ConfirmTimeBox(TimeBoxKind kind, const std::string &text, const ClipTimes &clip);

} // namespace vt::project
