// The state of one "ffmpeg.encoder" node and what its sound and video work
// share: the settings read from the output description, sending frames to
// the library and queueing the packets that come out.
#pragma once

#include "framework/include/zif.h"
#include "plugins/common/stream_samples.h"
#include "plugins/ffmpeg/encoder_codecs.h"
#include "plugins/ffmpeg/sound_queue.h"
#include "plugins/ffmpeg/two_pass_log.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswresample/swresample.h>
}

#include <string>
#include <vector>

namespace ffplug {

struct EncoderNode {
    const EncoderEntry *entry = nullptr;
    zif_object *inQueue = nullptr;
    zif_object *outQueue = nullptr;
    zif_object *outputDescription = nullptr;  // the settings; cloned for every packet
    zif_object *inputPort = nullptr;          // not counted: the node holds it
    int64_t gopSize = 12;
    int pass = 0;
    std::string logUri;

    AVCodecContext *codec = nullptr;  // set up on the first input
    AVFrame *frame = nullptr;
    AVPacket *packet = nullptr;
    bool ended = false;

    // Video.
    int width = 0;
    int height = 0;
    int64_t nextFrame = -1;  // before the first picture
    TwoPassLog log;

    // Sound.
    SoundQueue sound;
    int64_t encodedPosition = 0;
    int64_t expectedPosition = 0;
    bool positioned = false;
    std::vector<int> channelMap;  // for each codec channel, the input channel feeding it
    SwrContext *resampler = nullptr;  // signed 16-bit interleaved to the codec's sample format
    std::vector<int16_t> frameSamples;

    ~EncoderNode();
};

EncoderNode *encoderOf(zif_object *node);

// Sends frame (null: drain) and queues a packet table for every packet the
// library gives back; *queued counts them. fallbackTime is the time of a
// packet without timestamp, or none when hasFallback is false.
bool encoderSend(zif_object *node, EncoderNode *e, AVFrame *frame, int *queued, plugins::MediaTime fallbackTime,
                 bool hasFallback);
// Queues a clone of the output description with "endofstream" = 1 (end) or
// 0 and no data (a picture the encoder holds back).
bool encoderQueueMarker(EncoderNode *e, bool end);

int32_t encoderVideoWork(zif_object *node);
int32_t encoderSoundWork(zif_object *node);

}  // namespace ffplug
