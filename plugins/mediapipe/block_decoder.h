// Decodes a sound stream handed over block by block: a pad of our own pushes
// each compressed block into decodebin, whatever decoder the system has for
// the stream's caps decodes it, and audioconvert turns it into interleaved
// signed 16-bit samples. Everything runs on the caller's thread; the decoded
// buffers wait in an unbounded queue until the call collects them.
#pragma once

#include "plugins/mediapipe/sample_queue.h"

#include <gst/gst.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mediapipe {

class BlockDecoder {
public:
    BlockDecoder() = default;
    BlockDecoder(const BlockDecoder &) = delete;
    BlockDecoder &operator=(const BlockDecoder &) = delete;
    ~BlockDecoder();

    // Builds the pipeline for compressed blocks described by caps (e.g.
    // "audio/x-ac3" or "audio/x-mulaw,rate=8000,channels=1").
    bool open(const std::string &caps, std::string *error);

    // Decodes one block of any size; appends what came out to samples.
    bool decode(const uint8_t *data, size_t size, std::vector<int16_t> *samples, std::string *error);
    // Ends the stream: appends what the decoder still held.
    bool drain(std::vector<int16_t> *samples, std::string *error);

    // The decoded format, 0 until the first samples came out.
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }

private:
    static void padAdded(GstElement *decoder, GstPad *pad, BlockDecoder *self);
    bool append(GstSample *sample, std::vector<int16_t> *samples, std::string *error);
    bool collect(std::vector<int16_t> *samples, std::string *error);
    bool busError(std::string *error);

    GstElement *pipeline_ = nullptr;
    GstElement *convert_ = nullptr;
    GstPad *feed_ = nullptr;
    SampleQueue decoded_{-1};
    bool ended_ = false;
    int sampleRate_ = 0;
    int channels_ = 0;
};

}  // namespace mediapipe
