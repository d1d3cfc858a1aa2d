#include "plugins/ffmpeg/sound_queue.h"

#include <algorithm>
#include <cstring>

namespace ffplug {

void SoundQueue::addSilence(int64_t frames)
{
    if (frames <= 0)
        return;
    if (!chunks_.empty() && chunks_.back().samples.empty())
        chunks_.back().silence += frames;
    else
        chunks_.push_back({frames, {}, 0});
    frames_ += frames;
}

void SoundQueue::add(const int16_t *samples, int64_t frames)
{
    if (frames <= 0)
        return;
    chunks_.push_back({0, std::vector<int16_t>(samples, samples + frames * channels_), 0});
    frames_ += frames;
}

int64_t SoundQueue::take(int64_t count, std::vector<int16_t> *out)
{
    out->assign(static_cast<size_t>(count * channels_), 0);
    int64_t taken = 0;
    while (taken < count && !chunks_.empty()) {
        Chunk &c = chunks_.front();
        int64_t n;
        if (c.samples.empty()) {
            n = std::min(count - taken, c.silence);
            c.silence -= n;
        } else {
            int64_t left = static_cast<int64_t>(c.samples.size() - c.used) / channels_;
            n = std::min(count - taken, left);
            std::memcpy(out->data() + taken * channels_, c.samples.data() + c.used,
                        static_cast<size_t>(n * channels_) * sizeof(int16_t));
            c.used += static_cast<size_t>(n * channels_);
        }
        taken += n;
        if ((c.samples.empty() && c.silence == 0) || (!c.samples.empty() && c.used == c.samples.size()))
            chunks_.pop_front();
    }
    frames_ -= taken;
    return taken;
}

}  // namespace ffplug
