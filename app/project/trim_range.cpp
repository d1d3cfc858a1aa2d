#include "app/project/trim_range.h"

#include <algorithm>

namespace vt::project {

namespace {

int32_t limitStart(int32_t start, int32_t duration)
{
    return std::max(std::min(start, duration - 10), 0);
}

} // namespace

HandlePositions PlaceHandles(int32_t start, int32_t end, int32_t duration, const RangeBarGeometry &bar)
{
    const int c = bar.travel();
    if (duration <= 0)
        return {0, c + bar.handleWidth, false};
    const double a = static_cast<double>(start) / duration;
    const double b = static_cast<double>(end) / duration;
    const int left = std::clamp(static_cast<int>(a * c + 0.5), 0, c);
    const int right = std::clamp(static_cast<int>(b * c + bar.handleWidth + 0.5), bar.handleWidth, c + bar.handleWidth);
    return {left, right, true};
}

HandlePositions DragLeftHandle(HandlePositions handles, int proposedLeft, const RangeBarGeometry &bar)
{
    handles.left = std::clamp(proposedLeft, 0, std::max(handles.right - bar.handleWidth, 0));
    return handles;
}

HandlePositions DragRightHandle(HandlePositions handles, int proposedRight, const RangeBarGeometry &bar)
{
    const int lowest = handles.left + bar.handleWidth;
    handles.right = std::clamp(proposedRight, lowest, std::max(bar.background - bar.handleWidth, lowest));
    return handles;
}

HandlePositions DragStretch(HandlePositions handles, int proposedLeft, const RangeBarGeometry &bar)
{
    // The stretch starts at the left handle's right edge and ends at the
    // right handle's left edge.
    const int stretchWidth = handles.right - (handles.left + bar.handleWidth);
    const int lowest = bar.handleWidth;
    const int highest = std::max(bar.background - bar.handleWidth - stretchWidth, lowest);
    const int stretchLeft = std::clamp(proposedLeft + bar.handleWidth, lowest, highest);
    handles.left = stretchLeft - bar.handleWidth;
    handles.right = stretchLeft + stretchWidth;
    return handles;
}

double StartFraction(int leftHandle, const RangeBarGeometry &bar)
{
    return std::clamp(static_cast<double>(leftHandle) / bar.travel(), 0.0, 1.0);
}

double EndFraction(int rightHandle, const RangeBarGeometry &bar)
{
    return std::clamp(static_cast<double>(rightHandle - bar.handleWidth) / bar.travel(), 0.0, 1.0);
}

int32_t StartFromHandle(int leftHandle, int32_t duration, const RangeBarGeometry &bar)
{
    return limitStart(static_cast<int32_t>(duration * StartFraction(leftHandle, bar)), duration);
}

int32_t EndFromHandle(int rightHandle, int32_t duration, const RangeBarGeometry &bar)
{
    return static_cast<int32_t>(duration * EndFraction(rightHandle, bar));
}

int32_t PreviewSecondForStart(int32_t start)
{
    return std::max(start, 1);
}

int32_t PreviewSecondForEnd(int32_t end, int32_t duration)
{
    return std::max(std::min(end, duration - 10), 1);
}

int32_t TimeBoxValue(const std::string &text)
{
    static constexpr int kPositions[6] = {0, 1, 3, 4, 6, 7};
    static constexpr int32_t kWeights[6] = {36000, 3600, 600, 60, 10, 1};
    int32_t value = 0;
    for (int i = 0; i < 6; ++i) {
        const size_t at = kPositions[i];
        if (at < text.size() && text[at] >= '0' && text[at] <= '9')
            value += (text[at] - '0') * kWeights[i];
    }
    return value;
}

bool TimeBoxValid(TimeBoxKind kind, int32_t value, const ClipTimes &clip)
{
    if (kind == TimeBoxKind::Start)
        return value >= 0 && value <= clip.end;
    return value <= clip.duration && value >= clip.start;
}

uint32_t TimeBoxColour(TimeBoxKind kind, const std::string &text, const ClipTimes *clip)
{
    if (!clip)
        return kTimeBoxNormal;
    return TimeBoxValid(kind, TimeBoxValue(text), *clip) ? kTimeBoxNormal : kTimeBoxInvalid;
}

ConfirmedTimes ConfirmTimeBox(TimeBoxKind kind, const std::string &text, const ClipTimes &clip)
{
    ConfirmedTimes result;
    result.times = clip;
    const int32_t value = TimeBoxValue(text);
    const int32_t current = kind == TimeBoxKind::Start ? clip.start : clip.end;
    if (value == current || !TimeBoxValid(kind, value, clip))
        return result;
    result.applied = true;
    if (kind == TimeBoxKind::Start)
        result.times.start = limitStart(value, clip.duration);
    else
        result.times.end = value;
    result.previewSecond = std::max(kind == TimeBoxKind::Start ? result.times.start : value, 1);
    return result;
}

} // namespace vt::project
