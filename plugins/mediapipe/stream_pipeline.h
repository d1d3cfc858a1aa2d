// One decoded stream of a file: uridecodebin renders the file, the wanted
// stream type goes through a converter and a caps filter into an app sink
// that hands samples over a one-sample queue, every other stream ends in a
// fake sink. The pipeline runs without a clock, as fast as the decoders
// allow. Every wait is bounded and watches the pipeline's bus.
#pragma once

#include "plugins/mediapipe/sample_queue.h"

#include <gst/gst.h>

#include <string>

namespace mediapipe {

// Initialises GStreamer once; false (with the reason) when it cannot start.
bool mediapipeInit(std::string *error = nullptr);

enum class StreamKind { Video, Audio };

class StreamPipeline {
public:
    // rawCaps: the uncompressed formats the consumer takes, e.g.
    // "video/x-raw,format=I420" or "audio/x-raw,format=S16LE,layout=interleaved".
    StreamPipeline(StreamKind kind, std::string rawCaps);
    StreamPipeline(const StreamPipeline &) = delete;
    StreamPipeline &operator=(const StreamPipeline &) = delete;
    ~StreamPipeline();

    enum class Opened { Ok, NoStream, Failed };
    // Builds the pipeline on path and prerolls it (paused). NoStream: the
    // file has no stream of this kind, or it never prerolled.
    Opened open(const std::string &path, std::string *error);

    // The negotiated caps of the wanted stream (borrowed) and the caps the
    // decoder produced before conversion (borrowed; may be null).
    GstCaps *caps() const { return caps_; }
    GstCaps *decodedCaps() const { return decodedCaps_; }
    // Seconds; -1 when unknown.
    double duration() const;
    // Seconds of the current position; -1 when unknown.
    double position() const;

    // A flushing, accurate seek to seconds; the pipeline prerolls again and
    // keeps its running state. Times of later samples are stream times.
    bool seek(double seconds, std::string *error);

    enum class Pulled { Sample, End, Error };
    // The next sample (a new reference); starts the pipeline on first use.
    Pulled pull(GstSample **sample, std::string *error);

    // Flushes the queue and stops the pipeline; a blocked streaming thread is
    // released first.
    void stop();

    GstElement *pipeline() const { return pipeline_; }

    // Seconds of the sample's start as stream time; -1 when it has none.
    static double streamTime(GstSample *sample);
    static GstClockTime streamTimeNs(GstSample *sample);

    // How long one wait for the pipeline may take.
    static constexpr int kTimeoutMs = 10000;

private:
    static void padAdded(GstElement *decoder, GstPad *pad, StreamPipeline *self);
    static gboolean autoplugContinue(GstElement *bin, GstPad *pad, GstCaps *caps, StreamPipeline *self);
    static GstFlowReturn newSample(GstElement *sink, gpointer self);
    static void endOfStream(GstElement *sink, gpointer self);
    bool linkWanted(GstPad *pad, GstCaps *decoded);
    void linkDiscard(GstPad *pad);
    // Waits for the pipeline to finish its state change; false on error or time-out.
    bool waitPrerolled(std::string *error);
    // A pending error on the bus, taken off it: true and its text.
    bool busError(std::string *error);
    bool matchesKind(const GstCaps *caps) const;

    StreamKind kind_;
    std::string rawCaps_;
    GstElement *pipeline_ = nullptr;
    GstElement *sink_ = nullptr;
    GstCaps *caps_ = nullptr;
    GstCaps *decodedCaps_ = nullptr;
    SampleQueue queue_{1};
    bool linked_ = false;  // guarded by the pipeline's object lock
    bool running_ = false;
};

}  // namespace mediapipe
