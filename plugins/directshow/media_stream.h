// One primary stream (picture or sound) of a file for the multimedia-stream
// decoder: its own decoding pipeline with RGB pictures or 16-bit PCM, its
// description, and the reading of one sample at a time into a queue.
#pragma once

#include "framework/include/zif.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <string>

namespace directshow {

class MediaStream {
public:
    explicit MediaStream(mediapipe::StreamKind kind);
    MediaStream(const MediaStream &) = delete;
    MediaStream &operator=(const MediaStream &) = delete;
    ~MediaStream();

    bool isVideo() const { return kind_ == mediapipe::StreamKind::Video; }
    const char *mediaType() const { return isVideo() ? "video" : "audio"; }

    mediapipe::StreamPipeline::Opened open(const std::string &path, std::string *error);
    double duration() const { return pipeline_.duration(); }
    // Builds the description; a sound stream of other than 1 or 2 channels
    // fails with error 14 (set on errorObject).
    bool describe(zif_object *errorObject, double duration);
    zif_object *description() const { return description_; }

    // Seeks to startTime and, for a picture stream without a known frame
    // rate, measures it on the first sample (delivered first by read).
    bool start(double startTime, std::string *error);
    bool started() const { return started_; }
    bool ended() const { return ended_; }
    void clearEnded() { ended_ = false; }

    // Reads one sample into queue as a sample table, or the end of stream
    // once the file or endTime (negative: none) is passed.
    bool read(zif_object *queue, double endTime, std::string *error);
    bool seek(double seconds, std::string *error);

    zif_object *queue = nullptr;  // of the output connector, absent while unconnected

private:
    zif_object *sampleTable(GstSample *sample, std::string *error);

    mediapipe::StreamKind kind_;
    mediapipe::StreamPipeline pipeline_;
    zif_object *description_ = nullptr;
    GstSample *pending_ = nullptr;  // read while starting, delivered first
    bool started_ = false;
    bool ended_ = false;
};

}  // namespace directshow
