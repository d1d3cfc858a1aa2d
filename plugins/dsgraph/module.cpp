// libwyv_dsgraph.so: the framework plug-in module of the graph decoder on
// GStreamer. Without a working GStreamer it still registers, with no file
// extensions; opening a file then fails as it cannot be decoded.
#include "framework/include/zif.h"
#include "plugins/dsgraph/graph_decoder.h"
#include "plugins/mediapipe/stream_pipeline.h"

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context, const char *,
                                                                                void *)
{
    mediapipe::mediapipeInit();
    return dsgraph::graphDecoderRegister(context) ? 1 : 0;
}
