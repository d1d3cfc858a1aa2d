// Interleaved signed 16-bit sound waiting for the encoder, with gaps kept
// as a count of silent frames: filling a jump in time stamps costs no
// memory beyond the frames taken out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace ffplug {

class SoundQueue {
public:
    explicit SoundQueue(int channels = 1) : channels_(channels) {}
    void setChannels(int channels) { channels_ = channels; }

    void addSilence(int64_t frames);
    // Appends frames of interleaved samples.
    void add(const int16_t *samples, int64_t frames);
    int64_t frames() const { return frames_; }
    // Moves up to count frames to out (resized to count frames; the rest zero).
    // Returns the frames taken.
    int64_t take(int64_t count, std::vector<int16_t> *out);

private:
    struct Chunk {
        int64_t silence = 0;          // silent frames, when samples is empty
        std::vector<int16_t> samples;
        size_t used = 0;              // samples already taken
    };
    int channels_;
    int64_t frames_ = 0;
    std::deque<Chunk> chunks_;
};

}  // namespace ffplug
