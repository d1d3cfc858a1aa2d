// One wanted stream type of a file as the graph decoder sees it: its
// decoding pipeline, the port description built from the negotiated format,
// and the turning of each decoded sample into a sample table.
#pragma once

#include "framework/include/zif.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <gst/video/video.h>

#include <memory>
#include <string>

namespace dsgraph {

class StreamGraph {
public:
    enum class Built { Ok, NoStream, Failed };
    // Builds and prerolls the pipeline of kind on path; seeks to startTime
    // when it is not 0. Failures are logged to graph.
    static Built build(zif_object *graph, mediapipe::StreamKind kind, const std::string &path, double startTime,
                       double endTime, std::unique_ptr<StreamGraph> *out);
    StreamGraph(const StreamGraph &) = delete;
    StreamGraph &operator=(const StreamGraph &) = delete;
    ~StreamGraph();

    bool isVideo() const { return kind_ == mediapipe::StreamKind::Video; }
    zif_object *description() const { return description_; }
    bool ended() const { return ended_; }

    // Pulls one sample (or the end of stream) into queue; false on failure,
    // logged.
    bool pullInto(zif_object *queue);

    std::string dump() const;

private:
    StreamGraph(zif_object *graph, mediapipe::StreamKind kind, double endTime);
    bool describe();
    bool describeVideo(zif_object *d);
    bool describeAudio(zif_object *d);
    zif_object *pictureTable(GstSample *sample);
    zif_object *soundTable(GstSample *sample);
    void log(const std::string &text) const;

    zif_object *graph_;  // borrowed: the graph owns the node that owns this
    mediapipe::StreamKind kind_;
    double endTime_;
    mediapipe::StreamPipeline pipeline_;
    zif_object *description_ = nullptr;
    int width_ = 0, height_ = 0;
    GstVideoFormat format_ = GST_VIDEO_FORMAT_UNKNOWN;
    int channels_ = 0;
    int channelSource_[8] = {};  // documented channel i comes from decoded channel channelSource_[i]
    bool ended_ = false;
};

}  // namespace dsgraph
