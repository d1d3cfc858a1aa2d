#include "plugins/mediapipe/block_decoder.h"
#include "plugins/mediapipe/bus_error.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <gst/app/gstappsink.h>
#include <gst/audio/audio.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace mediapipe {

BlockDecoder::~BlockDecoder()
{
    decoded_.flush();
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
    }
    if (feed_) {
        gst_pad_set_active(feed_, FALSE);
        gst_object_unref(feed_);
    }
}

void BlockDecoder::padAdded(GstElement *, GstPad *pad, BlockDecoder *self)
{
    GstPad *input = gst_element_get_static_pad(self->convert_, "sink");
    if (!gst_pad_is_linked(input))
        gst_pad_link(pad, input);
    gst_object_unref(input);
}

bool BlockDecoder::open(const std::string &capsText, std::string *error)
{
    if (!mediapipeInit(error))
        return false;
    GstCaps *caps = gst_caps_from_string(capsText.c_str());
    pipeline_ = gst_pipeline_new(nullptr);
    gst_object_ref_sink(pipeline_);
    GstElement *decoder = gst_element_factory_make("decodebin", nullptr);
    convert_ = gst_element_factory_make("audioconvert", nullptr);
    GstElement *filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!caps || !decoder || !convert_ || !filter || !sink) {
        for (GstElement *e : {decoder, convert_, filter, sink})
            if (e)
                gst_object_unref(e);
        convert_ = nullptr;
        if (caps)
            gst_caps_unref(caps);
        if (error)
            *error = "the decoding elements cannot be made";
        return false;
    }
    GstCaps *pcm = gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved");
    g_object_set(filter, "caps", pcm, nullptr);
    gst_caps_unref(pcm);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = [](GstAppSink *s, gpointer self) {
        GstSample *sample = gst_app_sink_pull_sample(s);
        static_cast<BlockDecoder *>(self)->decoded_.offer(sample);
        return sample ? GST_FLOW_OK : GST_FLOW_EOS;
    };
    callbacks.eos = [](GstAppSink *, gpointer self) { static_cast<BlockDecoder *>(self)->decoded_.offerEnd(); };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    gst_bin_add_many(GST_BIN(pipeline_), decoder, convert_, filter, sink, nullptr);
    gst_element_link_many(convert_, filter, sink, nullptr);
    g_signal_connect(decoder, "pad-added", G_CALLBACK(padAdded), this);

    feed_ = gst_pad_new("feed", GST_PAD_SRC);
    GstPad *input = gst_element_get_static_pad(decoder, "sink");
    bool ok = gst_pad_link(feed_, input) == GST_PAD_LINK_OK;
    gst_object_unref(input);
    ok = ok && gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    ok = ok && gst_pad_set_active(feed_, TRUE);
    if (ok) {
        GstSegment segment;
        gst_segment_init(&segment, GST_FORMAT_TIME);
        ok = gst_pad_push_event(feed_, gst_event_new_stream_start("system-audio")) &&
             gst_pad_push_event(feed_, gst_event_new_caps(caps)) &&
             gst_pad_push_event(feed_, gst_event_new_segment(&segment));
    }
    gst_caps_unref(caps);
    if (!ok && !busError(error) && error)
        *error = "no system decoder takes " + capsText;
    return ok;
}

bool BlockDecoder::busError(std::string *error) { return busErrorTake(pipeline_, "decoder error", error); }

bool BlockDecoder::append(GstSample *s, std::vector<int16_t> *samples, std::string *error)
{
    GstAudioInfo info;
    GstBuffer *buffer = gst_sample_get_buffer(s);
    GstMapInfo map;
    bool ok = gst_audio_info_from_caps(&info, gst_sample_get_caps(s)) && buffer &&
              gst_buffer_map(buffer, &map, GST_MAP_READ);
    if (ok) {
        sampleRate_ = GST_AUDIO_INFO_RATE(&info);
        channels_ = GST_AUDIO_INFO_CHANNELS(&info);
        size_t count = map.size / 2;
        size_t at = samples->size();
        samples->resize(at + count);
        std::memcpy(samples->data() + at, map.data, count * 2);
        gst_buffer_unmap(buffer, &map);
    } else if (error) {
        *error = "decoded sound without a format";
    }
    gst_sample_unref(s);
    return ok;
}

bool BlockDecoder::collect(std::vector<int16_t> *samples, std::string *error)
{
    while (GstSample *s = decoded_.dequeue())
        if (!append(s, samples, error))
            return false;
    return !busError(error);
}

bool BlockDecoder::decode(const uint8_t *data, size_t size, std::vector<int16_t> *samples, std::string *error)
{
    if (!feed_ || ended_) {
        if (error)
            *error = "the decoder is not open";
        return false;
    }
    GstBuffer *buffer = gst_buffer_new_memdup(data, size);
    // The decoder runs inside the push, on this thread.
    GstFlowReturn r = gst_pad_push(feed_, buffer);
    if (r != GST_FLOW_OK) {
        if (!busError(error) && error)
            *error = std::string("the system decoder refused the block: ") + gst_flow_get_name(r);
        return false;
    }
    return collect(samples, error);
}

bool BlockDecoder::drain(std::vector<int16_t> *samples, std::string *error)
{
    if (!feed_)
        return false;
    if (!ended_) {
        ended_ = true;
        gst_pad_push_event(feed_, gst_event_new_eos());
        // The decoder gives back what it held, then the end; a decoder with
        // a thread of its own is waited for, for a bounded time.
        // Nothing reaches the sink (nor its end) while no decoder is linked.
        GstPad *input = gst_element_get_static_pad(convert_, "sink");
        bool linked = gst_pad_is_linked(input);
        gst_object_unref(input);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StreamPipeline::kTimeoutMs);
        while (linked) {
            GstSample *s = nullptr;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            SampleQueue::Next next = decoded_.wait(std::max(left, std::chrono::milliseconds(0)), &s);
            if (next != SampleQueue::Next::Sample)
                break;
            if (!append(s, samples, error) || busError(error))
                return false;
        }
    }
    return collect(samples, error);
}

}  // namespace mediapipe
