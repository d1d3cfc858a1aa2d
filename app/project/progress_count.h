// The count behind a progress window: how many of a known number of steps
// are done, as a percentage and as the width of a 258-pixel bar.
#pragma once

namespace vt::project {

inline constexpr int kProgressBarFullWidth = 258;

class ProgressCount {
public:
    void start(int total);
    void step() { ++count_; }

    int total() const { return total_; }
    int count() const { return count_; }
    // count × 100 ÷ total, within 0–100; 0 while there is nothing to count.
    int percent() const;
    int barWidth() const { return percent() * kProgressBarFullWidth / 100; }

private:
    int total_ = 0;
    int count_ = 0;
};

} // namespace vt::project
