// libwyv_smde.so: bridges the decoder types of the outside SMDE library
// libqtde.so into framework plug-ins. The library is looked up beside this
// module first, then on the system's library path, and stays loaded for the
// life of the process.
#include "framework/include/zif.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/smde/smde_decoder.h"
#include "plugins/smde/smde_interface.h"

#include <dlfcn.h>
#include <string>

namespace {

constexpr const char *kLibraryName = "libqtde.so";

void *openLibrary(const char *modulePath)
{
    std::string beside = modulePath ? modulePath : "";
    size_t slash = beside.rfind('/');
    if (slash != std::string::npos) {
        beside = beside.substr(0, slash + 1) + kLibraryName;
        if (void *library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL))
            return library;
    }
    return dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context,
                                                                                const char *modulePath, void *)
{
    void *library = openLibrary(modulePath);
    if (!library) {
        zif_log(context, ZIF_LOG_ERROR, "smde plugin", (std::string("Error loading SMDE plugin ") + kLibraryName).c_str());
        return 1;
    }
    auto init = reinterpret_cast<SmdeInitFunc>(dlsym(library, "SMDE_Init"));
    auto count = reinterpret_cast<SmdeGetDecoderTypeCountFunc>(dlsym(library, "SMDE_GetDecoderTypeCount"));
    auto get = reinterpret_cast<SmdeGetDecoderTypeFunc>(dlsym(library, "SMDE_GetDecoderType"));
    if (init && init() != 0) {
        zif_setLastError(context, plugins::kErrMediaOpen);
        return 1;
    }
    if (!count || !get)
        return 1;
    int32_t n = count();
    for (int32_t i = 0; i < n; ++i) {
        SmdeDecoderType *type = nullptr;
        if (get(&type, i) != 0 || !type)
            continue;
        if (!smde::smdeDecoderRegister(context, type))
            break;
    }
    return 1;
}
