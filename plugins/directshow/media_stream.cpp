#include "plugins/directshow/media_stream.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/stream_samples.h"

#include <gst/audio/audio.h>
#include <gst/video/video.h>

#include <vector>

namespace directshow {

namespace {

using mediapipe::StreamKind;
using mediapipe::StreamPipeline;
using plugins::MediaTime;

// Pictures as 32- or 24-bit RGB stored B, G, R (red in the high byte).
const char *const kVideoCaps = "video/x-raw,format=(string){BGRx,BGR}";
const char *const kSoundCaps = "audio/x-raw,format=S16LE,layout=interleaved";

}  // namespace

MediaStream::MediaStream(StreamKind kind) : kind_(kind), pipeline_(kind, kind == StreamKind::Video ? kVideoCaps : kSoundCaps)
{
}

MediaStream::~MediaStream()
{
    pipeline_.stop();
    if (pending_)
        gst_sample_unref(pending_);
    zif_release(description_);
    zif_release(queue);
}

StreamPipeline::Opened MediaStream::open(const std::string &path, std::string *error)
{
    return pipeline_.open(path, error);
}

bool MediaStream::describe(zif_object *errorObject, double duration)
{
    zif_object *d = zif_newTable(zif_objectGetContext(errorObject));
    bool ok = d && zif_tableSetString(d, "portclass", "data") && zif_tableSetString(d, "mediatype", mediaType()) &&
              (duration <= 0 || zif_tableSetDouble(d, "duration", duration));
    if (ok && isVideo()) {
        GstVideoInfo info;
        ok = gst_video_info_from_caps(&info, pipeline_.caps());
        int bits = ok && GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGR ? 24 : 32;
        ok = ok && zif_tableSetInt(d, "width", GST_VIDEO_INFO_WIDTH(&info)) &&
             zif_tableSetInt(d, "height", GST_VIDEO_INFO_HEIGHT(&info)) &&
             zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "bitsperpixel", bits) &&
             zif_tableSetInt(d, "linedelta", GST_VIDEO_INFO_PLANE_STRIDE(&info, 0)) &&
             zif_tableSetInt(d, "rgb.bits.r", 8) && zif_tableSetInt(d, "rgb.bits.g", 8) &&
             zif_tableSetInt(d, "rgb.bits.b", 8) && zif_tableSetInt(d, "rgb.offset.r", 16) &&
             zif_tableSetInt(d, "rgb.offset.g", 8) && zif_tableSetInt(d, "rgb.offset.b", 0);
        if (ok && GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0)
            ok = MediaTime::of(GST_VIDEO_INFO_FPS_N(&info), GST_VIDEO_INFO_FPS_D(&info)).storeIn(d, "framerate") &&
                 zif_tableSetInt(d, "framerateexact", 0);
    } else if (ok) {
        GstAudioInfo info;
        ok = gst_audio_info_from_caps(&info, pipeline_.caps());
        int channels = ok ? GST_AUDIO_INFO_CHANNELS(&info) : 0;
        zif_object *ids = channels == 1 || channels == 2 ? plugins::channelIdsFor(zif_objectGetContext(d), channels) : nullptr;
        ok = ok && (ids || plugins::fail(errorObject, plugins::kErrConversion)) &&
             zif_tableSetInt(d, "samplerate", GST_AUDIO_INFO_RATE(&info)) && zif_tableSetInt(d, "channels", channels) &&
             zif_tableSet(d, "channelids", ids) && zif_tableSetString(d, "format", "pcm.interleaved") &&
             zif_tableSetInt(d, "pcm.bitspervalue", 16) && zif_tableSetInt(d, "pcm.signed", 1);
        zif_release(ids);
    }
    if (!ok) {
        zif_release(d);
        return false;
    }
    description_ = d;
    return true;
}

bool MediaStream::start(double startTime, std::string *error)
{
    if (started_)
        return true;
    if (startTime != 0 && !pipeline_.seek(startTime, error))
        return false;
    if (isVideo() && !zif_tableContains(description_, "framerate")) {
        // No rate given: the first picture's duration tells it when it lies
        // between 23 and 31 pictures a second, else 25 is assumed.
        if (pipeline_.pull(&pending_, error) == StreamPipeline::Pulled::Error)
            return false;
        GstBuffer *b = pending_ ? gst_sample_get_buffer(pending_) : nullptr;
        GstClockTime length = b ? GST_BUFFER_DURATION(b) : GST_CLOCK_TIME_NONE;
        MediaTime rate = MediaTime::of(25, 1);
        if (GST_CLOCK_TIME_IS_VALID(length) && length >= GST_SECOND / 31 && length <= GST_SECOND / 23)
            rate = MediaTime::of(GST_SECOND, static_cast<int64_t>(length));
        if (!rate.storeIn(description_, "framerate") || !zif_tableSetInt(description_, "framerateexact", 0))
            return false;
    }
    started_ = true;
    return true;
}

zif_object *MediaStream::sampleTable(GstSample *sample, std::string *error)
{
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    zif_object *table = nullptr;
    if (!buffer || !zif_valueClone(description_, &table))
        return nullptr;
    GstClockTime at = StreamPipeline::streamTimeNs(sample);
    bool ok = MediaTime::of(GST_CLOCK_TIME_IS_VALID(at) ? static_cast<int64_t>(at) : 0, GST_SECOND)
                  .storeIn(table, "presentationtime");
    if (ok && isVideo()) {
        GstVideoInfo info;
        GstVideoFrame frame;
        ok = gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
             GST_VIDEO_INFO_WIDTH(&info) == zif_tableGetInt(description_, "width", 0) &&
             GST_VIDEO_INFO_HEIGHT(&info) == zif_tableGetInt(description_, "height", 0) &&
             gst_buffer_get_size(buffer) >= GST_VIDEO_INFO_SIZE(&info) &&
             gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ);
        if (ok) {
            int64_t w = GST_VIDEO_INFO_WIDTH(&info), h = GST_VIDEO_INFO_HEIGHT(&info);
            int64_t pitch = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
            int64_t bytes = GST_VIDEO_FRAME_COMP_PSTRIDE(&frame, 0) * w + pitch * (h - 1);
            ok = zif_tableSetData(table, "data", GST_VIDEO_FRAME_PLANE_DATA(&frame, 0), static_cast<int32_t>(bytes)) &&
                 zif_tableSetInt(table, "linedelta", pitch);
            gst_video_frame_unmap(&frame);
        } else if (error) {
            *error = "a picture of another size than described";
        }
    } else if (ok) {
        GstMapInfo map;
        ok = gst_buffer_map(buffer, &map, GST_MAP_READ);
        if (ok) {
            ok = zif_tableSetData(table, "data", map.data, static_cast<int32_t>(map.size));
            gst_buffer_unmap(buffer, &map);
        }
    }
    if (!ok) {
        zif_release(table);
        return nullptr;
    }
    return table;
}

bool MediaStream::read(zif_object *to, double endTime, std::string *error)
{
    GstSample *sample = pending_;
    pending_ = nullptr;
    if (!sample) {
        switch (pipeline_.pull(&sample, error)) {
        case StreamPipeline::Pulled::Error: return false;
        case StreamPipeline::Pulled::End: ended_ = true; return plugins::queueEndOfStream(to, description_);
        case StreamPipeline::Pulled::Sample: break;
        }
    }
    if (endTime >= 0 && StreamPipeline::streamTime(sample) > endTime) {
        gst_sample_unref(sample);
        ended_ = true;
        return plugins::queueEndOfStream(to, description_);
    }
    zif_object *table = sampleTable(sample, error);
    gst_sample_unref(sample);
    bool ok = table && zif_listAdd(to, table);
    zif_release(table);
    return ok;
}

bool MediaStream::seek(double seconds, std::string *error)
{
    if (pending_) {
        gst_sample_unref(pending_);
        pending_ = nullptr;
    }
    return pipeline_.seek(seconds, error);
}

}  // namespace directshow
