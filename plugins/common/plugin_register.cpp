#include "plugins/common/plugin_register.h"

namespace plugins {

bool pluginRegister(zif_context *context, const std::string &name, zif_pluginDirectCreateNodeFunc directCreate,
                    zif_pluginAddBuildersFunc addBuilders, const std::vector<std::string> *extensions,
                    intptr_t userData)
{
    zif_object *plugin = zif_newPlugin(context, name.c_str());
    bool ok = plugin && (!userData || zif_pluginSetUserData(plugin, userData)) &&
              zif_pluginSetDirectCreateNodeFunc(plugin, directCreate) &&
              (!addBuilders || zif_pluginSetAddBuildersFunc(plugin, addBuilders));
    if (ok && extensions) {
        zif_object *list = zif_newList(context);
        for (const std::string &e : *extensions)
            ok = ok && list && zif_listAddString(list, e.c_str());
        ok = ok && list && zif_pluginSetDecodeFileExtensions(plugin, list);
        zif_release(list);
    }
    zif_release(plugin);
    return ok;
}

}  // namespace plugins
