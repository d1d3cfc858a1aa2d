// libwyv_ffmpeg.so: the framework plug-in module on the FFmpeg libraries.
// Registers, in this order, the encoder, the decoder, the image converter,
// the image resizer and the audio converter.
#include "framework/include/zif.h"
#include "plugins/ffmpeg/audio_converter.h"
#include "plugins/ffmpeg/image_converter.h"
#include "plugins/ffmpeg/image_resizer.h"
#include "plugins/ffmpeg/media_decoder.h"
#include "plugins/ffmpeg/media_encoder.h"

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context, const char *,
                                                                                void *)
{
    // FFmpeg 5 registers its formats and codecs itself.
    return ffplug::mediaEncoderRegister(context) && ffplug::mediaDecoderRegister(context) && ffplug::imageConverterRegister(context) &&
                   ffplug::imageResizerRegister(context) && ffplug::audioConverterRegister(context)
               ? 1
               : 0;
}
