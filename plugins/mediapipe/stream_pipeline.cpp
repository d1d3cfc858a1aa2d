#include "plugins/mediapipe/stream_pipeline.h"
#include "plugins/mediapipe/bus_error.h"

#include <gst/app/gstappsink.h>

#include <cstring>
#include <mutex>

namespace mediapipe {

bool mediapipeInit(std::string *error)
{
    static std::once_flag once;
    static bool ready = false;
    static std::string reason;
    std::call_once(once, [] {
        GError *e = nullptr;
        ready = gst_init_check(nullptr, nullptr, &e);
        if (e) {
            reason = e->message;
            g_error_free(e);
        }
    });
    if (!ready && error)
        *error = reason.empty() ? "GStreamer cannot be initialised" : reason;
    return ready;
}

namespace {

bool startsWith(const char *s, const char *prefix) { return s && std::strncmp(s, prefix, std::strlen(prefix)) == 0; }

const char *capsName(const GstCaps *caps)
{
    return caps && gst_caps_get_size(caps) > 0 ? gst_structure_get_name(gst_caps_get_structure(caps, 0)) : "";
}

bool isDemuxer(GstElement *element)
{
    GstElementFactory *factory = element ? gst_element_get_factory(element) : nullptr;
    const char *klass = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
    return klass && std::strstr(klass, "Demux");
}

}  // namespace

StreamPipeline::StreamPipeline(StreamKind kind, std::string rawCaps) : kind_(kind), rawCaps_(std::move(rawCaps)) {}

StreamPipeline::~StreamPipeline()
{
    stop();
    if (pipeline_)
        gst_object_unref(pipeline_);
    if (caps_)
        gst_caps_unref(caps_);
    if (decodedCaps_)
        gst_caps_unref(decodedCaps_);
}

bool StreamPipeline::matchesKind(const GstCaps *caps) const
{
    return startsWith(capsName(caps), kind_ == StreamKind::Video ? "video/x-raw" : "audio/x-raw");
}

// A demuxer's elementary stream of another kind is not decoded at all: it
// goes to a fake sink as it is.
gboolean StreamPipeline::autoplugContinue(GstElement *, GstPad *pad, GstCaps *caps, StreamPipeline *self)
{
    const char *name = capsName(caps);
    bool wantedFamily = startsWith(name, self->kind_ == StreamKind::Video ? "video/" : "audio/") ||
                        (self->kind_ == StreamKind::Video && startsWith(name, "image/"));
    if (wantedFamily)
        return TRUE;
    GstObject *parent = gst_pad_get_parent(pad);
    bool stop = parent && GST_IS_ELEMENT(parent) && isDemuxer(GST_ELEMENT(parent));
    if (parent)
        gst_object_unref(parent);
    return stop ? FALSE : TRUE;
}

void StreamPipeline::padAdded(GstElement *, GstPad *pad, StreamPipeline *self)
{
    GstCaps *caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    bool take = false;
    if (self->matchesKind(caps)) {
        GST_OBJECT_LOCK(self->pipeline_);
        take = !self->linked_;
        self->linked_ = true;
        GST_OBJECT_UNLOCK(self->pipeline_);
    }
    if (!take || !self->linkWanted(pad, caps))
        self->linkDiscard(pad);
    if (caps)
        gst_caps_unref(caps);
}

bool StreamPipeline::linkWanted(GstPad *pad, GstCaps *decoded)
{
    GstElement *convert = gst_element_factory_make(kind_ == StreamKind::Video ? "videoconvert" : "audioconvert", nullptr);
    GstElement *filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    GstCaps *raw = gst_caps_from_string(rawCaps_.c_str());
    if (!convert || !filter || !sink || !raw) {
        for (GstElement *e : {convert, filter, sink})
            if (e)
                gst_object_unref(e);
        if (raw)
            gst_caps_unref(raw);
        return false;
    }
    g_object_set(filter, "caps", raw, nullptr);
    gst_caps_unref(raw);
    g_object_set(sink, "sync", FALSE, "max-buffers", 1, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.eos = [](GstAppSink *s, gpointer self) { endOfStream(GST_ELEMENT(s), self); };
    callbacks.new_sample = [](GstAppSink *s, gpointer self) { return newSample(GST_ELEMENT(s), self); };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    gst_bin_add_many(GST_BIN(pipeline_), convert, filter, sink, nullptr);
    gst_element_link_many(convert, filter, sink, nullptr);
    for (GstElement *e : {sink, filter, convert})
        gst_element_sync_state_with_parent(e);
    GstPad *input = gst_element_get_static_pad(convert, "sink");
    bool ok = gst_pad_link(pad, input) == GST_PAD_LINK_OK;
    gst_object_unref(input);
    if (ok) {
        sink_ = sink;
        if (decoded)
            decodedCaps_ = gst_caps_ref(decoded);
    }
    return ok;
}

void StreamPipeline::linkDiscard(GstPad *pad)
{
    if (gst_pad_is_linked(pad))
        return;
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (!sink)
        return;
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline_), sink);
    gst_element_sync_state_with_parent(sink);
    GstPad *input = gst_element_get_static_pad(sink, "sink");
    gst_pad_link(pad, input);
    gst_object_unref(input);
}

GstFlowReturn StreamPipeline::newSample(GstElement *sink, gpointer self)
{
    GstSample *sample = gst_app_sink_pull_sample(GST_APP_SINK(sink));
    if (!sample)
        return GST_FLOW_EOS;
    // Blocks while the consumer holds back; a flush lets it go.
    static_cast<StreamPipeline *>(self)->queue_.offer(sample);
    return GST_FLOW_OK;
}

void StreamPipeline::endOfStream(GstElement *, gpointer self) { static_cast<StreamPipeline *>(self)->queue_.offerEnd(); }

bool StreamPipeline::busError(std::string *error) { return busErrorTake(pipeline_, "pipeline error", error); }

bool StreamPipeline::waitPrerolled(std::string *error)
{
    GstBus *bus = gst_element_get_bus(pipeline_);
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(kTimeoutMs) * 1000;
    bool done = false, failed = false;
    while (!done && !failed) {
        gint64 left = deadline - g_get_monotonic_time();
        if (left <= 0)
            break;
        GstMessage *m = gst_bus_timed_pop_filtered(
            bus, static_cast<GstClockTime>(left) * 1000,
            static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
        if (!m)
            break;
        if (GST_MESSAGE_TYPE(m) == GST_MESSAGE_ERROR) {
            GError *e = nullptr;
            gst_message_parse_error(m, &e, nullptr);
            if (error)
                *error = e ? e->message : "pipeline error";
            if (e)
                g_error_free(e);
            failed = true;
        } else if (GST_MESSAGE_SRC(m) == GST_OBJECT(pipeline_)) {
            done = true;
        }
        gst_message_unref(m);
    }
    gst_object_unref(bus);
    if (!done && !failed && error)
        *error = "the pipeline did not preroll in time";
    return done;
}

StreamPipeline::Opened StreamPipeline::open(const std::string &path, std::string *error)
{
    if (!mediapipeInit(error))
        return Opened::Failed;
    GError *e = nullptr;
    gchar *uri = gst_filename_to_uri(path.c_str(), &e);
    if (!uri) {
        if (error)
            *error = e ? e->message : "bad file name";
        if (e)
            g_error_free(e);
        return Opened::Failed;
    }
    pipeline_ = gst_pipeline_new(nullptr);
    gst_object_ref_sink(pipeline_);
    GstElement *decoder = gst_element_factory_make("uridecodebin", nullptr);
    if (!decoder) {
        g_free(uri);
        if (error)
            *error = "uridecodebin is not installed";
        return Opened::Failed;
    }
    g_object_set(decoder, "uri", uri, nullptr);
    g_free(uri);
    g_signal_connect(decoder, "pad-added", G_CALLBACK(padAdded), this);
    g_signal_connect(decoder, "autoplug-continue", G_CALLBACK(autoplugContinue), this);
    gst_bin_add(GST_BIN(pipeline_), decoder);
    // Decoding runs as fast as it can: no clock.
    gst_pipeline_use_clock(GST_PIPELINE(pipeline_), nullptr);
    GstStateChangeReturn r = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    bool prerolled = r != GST_STATE_CHANGE_FAILURE && (r != GST_STATE_CHANGE_ASYNC || waitPrerolled(error));
    if (!prerolled) {
        bool failed = busError(error) || r == GST_STATE_CHANGE_FAILURE;
        GST_OBJECT_LOCK(pipeline_);
        bool linked = linked_;
        GST_OBJECT_UNLOCK(pipeline_);
        stop();
        // A wanted stream that never prerolls is treated as absent, not waited for.
        return failed || !linked ? Opened::Failed : Opened::NoStream;
    }
    if (busError(error)) {
        stop();
        return Opened::Failed;
    }
    if (!sink_) {
        stop();
        return Opened::NoStream;
    }
    GstPad *input = gst_element_get_static_pad(sink_, "sink");
    caps_ = gst_pad_get_current_caps(input);
    gst_object_unref(input);
    if (!caps_) {
        stop();
        if (error)
            *error = "the stream has no format";
        return Opened::Failed;
    }
    return Opened::Ok;
}

double StreamPipeline::duration() const
{
    gint64 d = -1;
    if (!pipeline_ || !gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &d) || d <= 0)
        return -1;
    return static_cast<double>(d) / GST_SECOND;
}

double StreamPipeline::position() const
{
    gint64 p = -1;
    if (!pipeline_ || !gst_element_query_position(pipeline_, GST_FORMAT_TIME, &p) || p < 0)
        return -1;
    return static_cast<double>(p) / GST_SECOND;
}

bool StreamPipeline::seek(double seconds, std::string *error)
{
    if (!pipeline_ || !sink_) {
        if (error)
            *error = "nothing to seek";
        return false;
    }
    // Release a streaming thread blocked on the queue first: pausing waits
    // for that thread, which would otherwise wait for us. Whatever it still
    // delivers before the seek is dropped.
    queue_.flush();
    if (running_)
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    auto target = static_cast<gint64>(seconds * GST_SECOND);
    if (!gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                                 static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target)) {
        if (error)
            *error = "the pipeline refused the seek";
        return false;
    }
    bool ok = waitPrerolled(error);
    queue_.reset();
    if (ok && running_)
        ok = gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    return ok;
}

StreamPipeline::Pulled StreamPipeline::pull(GstSample **sample, std::string *error)
{
    *sample = nullptr;
    if (!pipeline_ || !sink_) {
        if (error)
            *error = "no stream";
        return Pulled::Error;
    }
    if (!running_) {
        if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
            if (!busError(error) && error)
                *error = "the pipeline cannot run";
            return Pulled::Error;
        }
        running_ = true;
    }
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(kTimeoutMs) * 1000;
    for (;;) {
        if (busError(error))
            return Pulled::Error;
        switch (queue_.wait(std::chrono::milliseconds(50), sample)) {
        case SampleQueue::Next::Sample: return Pulled::Sample;
        case SampleQueue::Next::End: return Pulled::End;
        case SampleQueue::Next::TimedOut: break;
        }
        if (g_get_monotonic_time() > deadline) {
            if (error)
                *error = "no sample arrived in time";
            return Pulled::Error;
        }
    }
}

void StreamPipeline::stop()
{
    queue_.flush();
    if (pipeline_)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
    running_ = false;
}

GstClockTime StreamPipeline::streamTimeNs(GstSample *sample)
{
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstSegment *segment = gst_sample_get_segment(sample);
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_CLOCK_TIME_NONE;
    if (!segment || segment->format != GST_FORMAT_TIME)
        return GST_BUFFER_PTS(buffer);
    return gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
}

double StreamPipeline::streamTime(GstSample *sample)
{
    GstClockTime t = streamTimeNs(sample);
    return GST_CLOCK_TIME_IS_VALID(t) ? static_cast<double>(t) / GST_SECOND : -1;
}

}  // namespace mediapipe
