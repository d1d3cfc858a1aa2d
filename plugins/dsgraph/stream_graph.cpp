#include "plugins/dsgraph/stream_graph.h"
#include "plugins/common/stream_samples.h"
#include "plugins/mediapipe/pipeline_dump.h"

#include <gst/audio/audio.h>

#include <cstring>
#include <vector>

namespace dsgraph {

namespace {

using mediapipe::StreamKind;
using mediapipe::StreamPipeline;
using plugins::MediaTime;

// Planar 4:2:0 in either chroma order, or 32-bit RGB stored B, G, R, unused.
const char *const kVideoCaps = "video/x-raw,format=(string){I420,YV12,BGRx}";
const char *const kSoundCaps = "audio/x-raw,format=S16LE,layout=interleaved";

// Where each channel of the documented order sits in the decoded sound.
bool channelMap(const GstAudioInfo &info, int *source)
{
    int channels = GST_AUDIO_INFO_CHANNELS(&info);
    if (!plugins::channelOrder(channels))
        return false;
    if (channels < 6) {
        for (int i = 0; i < channels; ++i)
            source[i] = i;
        return true;
    }
    const GstAudioChannelPosition wanted[6][2] = {
        {GST_AUDIO_CHANNEL_POSITION_FRONT_LEFT, GST_AUDIO_CHANNEL_POSITION_FRONT_LEFT},
        {GST_AUDIO_CHANNEL_POSITION_FRONT_CENTER, GST_AUDIO_CHANNEL_POSITION_FRONT_CENTER},
        {GST_AUDIO_CHANNEL_POSITION_FRONT_RIGHT, GST_AUDIO_CHANNEL_POSITION_FRONT_RIGHT},
        {GST_AUDIO_CHANNEL_POSITION_REAR_LEFT, GST_AUDIO_CHANNEL_POSITION_SIDE_LEFT},
        {GST_AUDIO_CHANNEL_POSITION_REAR_RIGHT, GST_AUDIO_CHANNEL_POSITION_SIDE_RIGHT},
        {GST_AUDIO_CHANNEL_POSITION_LFE1, GST_AUDIO_CHANNEL_POSITION_LFE1},
    };
    const int waveOrder[6] = {0, 2, 1, 4, 5, 3};
    for (int i = 0; i < 6; ++i) {
        source[i] = waveOrder[i];
        for (int c = 0; c < channels; ++c)
            if (info.position[c] == wanted[i][0] || info.position[c] == wanted[i][1])
                source[i] = c;
    }
    return true;
}

}  // namespace

StreamGraph::StreamGraph(zif_object *graph, StreamKind kind, double endTime)
    : graph_(graph), kind_(kind), endTime_(endTime), pipeline_(kind, kind == StreamKind::Video ? kVideoCaps : kSoundCaps)
{
}

StreamGraph::~StreamGraph()
{
    pipeline_.stop();
    zif_release(description_);
}

void StreamGraph::log(const std::string &text) const { zif_graphLog(graph_, 3, "dsgraph decoder", text.c_str()); }

StreamGraph::Built StreamGraph::build(zif_object *graph, StreamKind kind, const std::string &path, double startTime,
                                      double endTime, std::unique_ptr<StreamGraph> *out)
{
    std::unique_ptr<StreamGraph> g(new StreamGraph(graph, kind, endTime));
    std::string error;
    switch (g->pipeline_.open(path, &error)) {
    case StreamPipeline::Opened::NoStream: return Built::NoStream;
    case StreamPipeline::Opened::Failed: g->log("Error rendering file (result=" + error + ")."); return Built::Failed;
    case StreamPipeline::Opened::Ok: break;
    }
    if (!g->describe())
        return Built::Failed;
    // Samples after a flushing seek already carry stream times: the position
    // reached is not added to them again.
    if (startTime != 0 && !g->pipeline_.seek(startTime, &error)) {
        g->log("Error seeking to start time (result: " + error + ").");
        return Built::Failed;
    }
    *out = std::move(g);
    return Built::Ok;
}

bool StreamGraph::describe()
{
    zif_object *d = zif_newTable(zif_objectGetContext(graph_));
    double duration = pipeline_.duration();
    bool ok = d && zif_tableSetString(d, "portclass", "data") &&
              zif_tableSetString(d, "mediatype", isVideo() ? "video" : "audio") &&
              (duration <= 0 || zif_tableSetDouble(d, "duration", duration)) &&
              (isVideo() ? describeVideo(d) : describeAudio(d));
    if (!ok) {
        zif_release(d);
        return false;
    }
    description_ = d;
    return true;
}

bool StreamGraph::describeVideo(zif_object *d)
{
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, pipeline_.caps())) {
        log("Unknown connection format type (video).");
        return false;
    }
    width_ = GST_VIDEO_INFO_WIDTH(&info);
    height_ = GST_VIDEO_INFO_HEIGHT(&info);
    format_ = GST_VIDEO_INFO_FORMAT(&info);
    int64_t parN = GST_VIDEO_INFO_PAR_N(&info) > 0 ? GST_VIDEO_INFO_PAR_N(&info) : 1;
    int64_t parD = GST_VIDEO_INFO_PAR_D(&info) > 0 ? GST_VIDEO_INFO_PAR_D(&info) : 1;
    MediaTime par = MediaTime::of(parN, parD);
    bool ok = zif_tableSetInt(d, "width", width_) && zif_tableSetInt(d, "height", height_) &&
              zif_tableSetInt(d, "framerateexact", 0) && par.storeIn(d, "pixelaspectratio");
    if (GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0)
        ok = ok && MediaTime::of(GST_VIDEO_INFO_FPS_N(&info), GST_VIDEO_INFO_FPS_D(&info)).storeIn(d, "framerate");
    if (format_ == GST_VIDEO_FORMAT_BGRx) {
        return ok && zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "bitsperpixel", 32) &&
               zif_tableSetInt(d, "rgb.bits.r", 8) && zif_tableSetInt(d, "rgb.bits.g", 8) &&
               zif_tableSetInt(d, "rgb.bits.b", 8) && zif_tableSetInt(d, "rgb.offset.r", 16) &&
               zif_tableSetInt(d, "rgb.offset.g", 8) && zif_tableSetInt(d, "rgb.offset.b", 0) &&
               zif_tableSetInt(d, "linedelta", 4 * static_cast<int64_t>(width_));
    }
    int64_t chroma = (width_ + 1) / 2;
    ok = ok && zif_tableSetString(d, "format", "yuv.separate") && zif_tableSetInt(d, "yuv.hratio.y", 2) &&
         zif_tableSetInt(d, "yuv.vratio.y", 2);
    for (const char *k : {"yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.u", "yuv.vratio.v"})
        ok = ok && zif_tableSetInt(d, k, 1);
    return ok && zif_tableSetInt(d, "yuv.linedelta.y", width_) && zif_tableSetInt(d, "yuv.linedelta.u", chroma) &&
           zif_tableSetInt(d, "yuv.linedelta.v", chroma);
}

bool StreamGraph::describeAudio(zif_object *d)
{
    GstAudioInfo info;
    if (!gst_audio_info_from_caps(&info, pipeline_.caps())) {
        log("Unknown connection format type (audio).");
        return false;
    }
    channels_ = GST_AUDIO_INFO_CHANNELS(&info);
    if (!channelMap(info, channelSource_)) {
        log("Unsupported channel count " + std::to_string(channels_) + ".");
        return false;
    }
    zif_object *ids = plugins::channelIdsFor(zif_objectGetContext(graph_), channels_);
    bool ok = ids && zif_tableSetString(d, "format", "pcm.interleaved") && zif_tableSetInt(d, "channels", channels_) &&
              zif_tableSetInt(d, "pcm.bitspervalue", 16) && zif_tableSetInt(d, "pcm.signed", 1) &&
              zif_tableSet(d, "channelids", ids) && zif_tableSetInt(d, "samplerate", GST_AUDIO_INFO_RATE(&info));
    zif_release(ids);
    return ok;
}

zif_object *StreamGraph::pictureTable(GstSample *sample)
{
    GstVideoInfo info;
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    if (!buffer || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) ||
        GST_VIDEO_INFO_WIDTH(&info) != width_ || GST_VIDEO_INFO_HEIGHT(&info) != height_ ||
        GST_VIDEO_INFO_FORMAT(&info) != format_ || gst_buffer_get_size(buffer) < GST_VIDEO_INFO_SIZE(&info)) {
        log(format_ == GST_VIDEO_FORMAT_BGRx ? "Received RGB video frame with bad data sizes."
                                             : "Received YUV video frame with bad data sizes.");
        return nullptr;
    }
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
        log("Received video frame that cannot be read.");
        return nullptr;
    }
    zif_object *table = nullptr;
    bool ok = zif_valueClone(description_, &table);
    struct Plane {
        const char *key;
        int component;
        int rowBytes;
        int rows;
    };
    const int cw = (width_ + 1) / 2, ch = (height_ + 1) / 2;
    const Plane yuv[] = {{"yuv.data.y", 0, width_, height_}, {"yuv.data.u", 1, cw, ch}, {"yuv.data.v", 2, cw, ch}};
    const Plane rgb[] = {{"data", 0, 4 * width_, height_}};
    const Plane *planes = format_ == GST_VIDEO_FORMAT_BGRx ? rgb : yuv;
    int count = format_ == GST_VIDEO_FORMAT_BGRx ? 1 : 3;
    // Rows are copied by the buffer's strides: GStreamer pads them.
    std::vector<uint8_t> bytes;
    for (int p = 0; ok && p < count; ++p) {
        const Plane &plane = planes[p];
        const auto *from = static_cast<const uint8_t *>(GST_VIDEO_FRAME_COMP_DATA(&frame, plane.component));
        int stride = GST_VIDEO_FRAME_COMP_STRIDE(&frame, plane.component);
        bytes.resize(static_cast<size_t>(plane.rowBytes) * static_cast<size_t>(plane.rows));
        for (int row = 0; row < plane.rows; ++row)
            std::memcpy(bytes.data() + static_cast<size_t>(row) * plane.rowBytes, from + static_cast<ptrdiff_t>(row) * stride,
                        static_cast<size_t>(plane.rowBytes));
        ok = zif_tableSetData(table, plane.key, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    gst_video_frame_unmap(&frame);
    if (!ok) {
        zif_release(table);
        return nullptr;
    }
    return table;
}

zif_object *StreamGraph::soundTable(GstSample *sample)
{
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return nullptr;
    size_t frameBytes = static_cast<size_t>(channels_) * 2;
    size_t frames = map.size / frameBytes;
    std::vector<int16_t> samples(frames * static_cast<size_t>(channels_));
    const auto *from = reinterpret_cast<const uint8_t *>(map.data);
    for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels_; ++c)
            std::memcpy(&samples[f * channels_ + c], from + f * frameBytes + 2 * channelSource_[c], 2);
    gst_buffer_unmap(buffer, &map);
    zif_object *table = nullptr;
    if (!zif_valueClone(description_, &table) ||
        !zif_tableSetData(table, "data", samples.data(), static_cast<int32_t>(samples.size() * 2))) {
        zif_release(table);
        return nullptr;
    }
    return table;
}

bool StreamGraph::pullInto(zif_object *queue)
{
    GstSample *sample = nullptr;
    std::string error;
    StreamPipeline::Pulled pulled = pipeline_.pull(&sample, &error);
    if (pulled == StreamPipeline::Pulled::Error) {
        log("Error reading sample (result: " + error + ").");
        return false;
    }
    if (pulled == StreamPipeline::Pulled::End) {
        ended_ = true;
        return plugins::queueEndOfStream(queue, description_);
    }
    GstClockTime at = StreamPipeline::streamTimeNs(sample);
    MediaTime time = GST_CLOCK_TIME_IS_VALID(at) ? MediaTime::of(static_cast<int64_t>(at), GST_SECOND) : MediaTime{};
    if (endTime_ != -1 && time > endTime_) {
        gst_sample_unref(sample);
        pipeline_.stop();
        ended_ = true;
        return plugins::queueEndOfStream(queue, description_);
    }
    zif_object *table = isVideo() ? pictureTable(sample) : soundTable(sample);
    gst_sample_unref(sample);
    bool ok = table && time.storeIn(table, "presentationtime") && zif_listAdd(queue, table);
    zif_release(table);
    return ok;
}

std::string StreamGraph::dump() const { return mediapipe::pipelineDump(pipeline_.pipeline()); }

}  // namespace dsgraph
