// libwyv_avifile.so: the framework plug-in module that decodes AVI files.
#include "framework/include/zif.h"
#include "plugins/avifile/avi_decoder.h"

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context, const char *,
                                                                                void *)
{
    return avifile::aviDecoderRegister(context) ? 1 : 0;
}
