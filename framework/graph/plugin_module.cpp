// Loading plug-in modules: shared libraries exporting zif_pluginModuleInit,
// which registers the module's plug-ins. A module stays loaded for the life
// of the process (its functions sit in plug-ins, graphs and nodes), so it is
// opened with dlopen directly rather than through a handle that closes.
#include "framework/core/context.h"

#include <dlfcn.h>
#include <string>

namespace {

void logError(zif_context *context, const std::string &message)
{
    zif_log(context, ZIF_LOG_ERROR, "context", message.c_str());
}

}  // namespace

extern "C" int32_t zif_loadPluginModule(zif_context *context, const char *path)
{
    if (!context)
        return 0;
    if (!path) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    void *module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        logError(context, std::string("Error loading zif plugin ") + path);
        zif::fail(context, ZIF_ERR_MODULE_LOAD);
        return 0;
    }
    auto init = reinterpret_cast<zif_pluginModuleInitFunc>(dlsym(module, "zif_pluginModuleInit"));
    if (!init) {
        logError(context, std::string("No init function found in zif plugin ") + path);
        dlclose(module);
        zif::fail(context, ZIF_ERR_MODULE_NO_INIT);
        return 0;
    }
    const char *outer = context->loadingModule;
    context->loadingModule = path;
    int32_t result = init(context, path, module);
    context->loadingModule = outer;
    if (!result)
        logError(context, std::string("Init function of zif plugin ") + path + " failed");
    return result;
}
