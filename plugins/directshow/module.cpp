// libwyv_directshow.so: the framework plug-in module of the multimedia-stream
// decoder on GStreamer.
#include "framework/include/zif.h"
#include "plugins/directshow/stream_decoder.h"
#include "plugins/mediapipe/stream_pipeline.h"

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context, const char *,
                                                                                void *)
{
    mediapipe::mediapipeInit();
    return directshow::streamDecoderRegister(context) ? 1 : 0;
}
