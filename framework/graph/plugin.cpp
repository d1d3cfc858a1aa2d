// Plug-ins: named objects registered in the context that give every new
// graph its builders and create their nodes on request.
#include "framework/graph/plugin.h"
#include "framework/core/container.h"
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/graph_types.h"

#include <cstring>

namespace zif {

namespace {

Plugin *pluginOf(zif_object *object)
{
    return object ? reinterpret_cast<Plugin *>(cast(object, ZIF_TYPE_PLUGIN)) : nullptr;
}

void pluginDestroy(zif_object *object)
{
    auto *p = reinterpret_cast<Plugin *>(object);
    object->refCount = 1;  // the destroy hook may take and drop references
    if (p->destroy)
        p->destroy(object);
    zif_release(p->name);
    zif_release(p->modulePath);
    zif_release(p->decodeFileExtensions);
    object->refCount = 0;
}

// The plug-in list keeps plug-ins, which are not values: walk its links.
template <typename Visit>
bool forEachPlugin(zif_context *context, Visit visit)
{
    if (!context->plugins)
        return true;
    ListValue *list = listRecord(context->plugins);
    for (zif_list_link *l = list->head.next; l != &list->tail; l = l->next)
        if (!visit(reinterpret_cast<Plugin *>(l->object)))
            return false;
    return true;
}

}  // namespace

bool pluginsAddBuilders(zif_context *context, zif_object *graph)
{
    return forEachPlugin(context, [&](Plugin *p) { return !p->addBuilders || p->addBuilders(asObject(p), graph); });
}

bool pluginsAttach(zif_context *context)
{
    context->plugins = zif_newList(context);
    return context->plugins && builtinPluginsRegister(context);
}

void pluginsDetach(zif_context *context)
{
    zif_release(context->plugins);
    context->plugins = nullptr;
}

}  // namespace zif

using namespace zif;

extern "C" {

zif_object *zif_newPlugin(zif_context *context, const char *name)
{
    if (!context || !context->plugins)
        return nullptr;
    auto *p = objectNew<Plugin>(context, ZIF_TYPE_PLUGIN, pluginDestroy);
    if (!p)
        return nullptr;
    p->name = zif_newString(context, name ? name : "");
    if (context->loadingModule)
        p->modulePath = zif_newString(context, context->loadingModule);
    if (!p->name || (context->loadingModule && !p->modulePath) || !zif_listAdd(context->plugins, asObject(p))) {
        zif_release(asObject(p));
        return nullptr;
    }
    return asObject(p);
}

zif_object *zif_findPluginWithName(zif_context *context, const char *name)
{
    if (!context)
        return nullptr;
    Plugin *found = nullptr;
    forEachPlugin(context, [&](Plugin *p) {
        if (name && std::strcmp(zif_stringGetValue(p->name), name) == 0)
            found = p;
        return found == nullptr;
    });
    if (!found)
        fail(context, ZIF_ERR_NOT_FOUND);
    return zif_addRef(asObject(found));
}

zif_object *zif_pluginGetName(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? zif_addRef(p->name) : nullptr;
}

zif_object *zif_pluginGetModulePath(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? zif_addRef(p->modulePath) : nullptr;
}

intptr_t zif_pluginGetUserData(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? p->userData : 0;
}

int32_t zif_pluginSetUserData(zif_object *plugin, intptr_t data)
{
    Plugin *p = pluginOf(plugin);
    if (!p)
        return 0;
    p->userData = data;
    return 1;
}

zif_pluginAddBuildersFunc zif_pluginGetAddBuildersFunc(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? p->addBuilders : nullptr;
}

int32_t zif_pluginSetAddBuildersFunc(zif_object *plugin, zif_pluginAddBuildersFunc function)
{
    Plugin *p = pluginOf(plugin);
    if (!p)
        return 0;
    p->addBuilders = function;
    return 1;
}

zif_pluginDestroyFunc zif_pluginGetDestroyFunc(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? p->destroy : nullptr;
}

int32_t zif_pluginSetDestroyFunc(zif_object *plugin, zif_pluginDestroyFunc function)
{
    Plugin *p = pluginOf(plugin);
    if (!p)
        return 0;
    p->destroy = function;
    return 1;
}

zif_pluginDirectCreateNodeFunc zif_pluginGetDirectCreateNodeFunc(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? p->directCreate : nullptr;
}

int32_t zif_pluginSetDirectCreateNodeFunc(zif_object *plugin, zif_pluginDirectCreateNodeFunc function)
{
    Plugin *p = pluginOf(plugin);
    if (!p)
        return 0;
    p->directCreate = function;
    return 1;
}

zif_object *zif_pluginGetDecodeFileExtensions(zif_object *plugin)
{
    Plugin *p = pluginOf(plugin);
    return p ? zif_addRef(p->decodeFileExtensions) : nullptr;
}

int32_t zif_pluginSetDecodeFileExtensions(zif_object *plugin, zif_object *extensions)
{
    Plugin *p = pluginOf(plugin);
    if (!p)
        return 0;
    zif_object *old = p->decodeFileExtensions;
    p->decodeFileExtensions = zif_addRef(extensions);
    zif_release(old);
    return 1;
}

uint64_t zif_graphDirectCreateNode(zif_object *graph, const char *pluginName, zif_object *description)
{
    if (!graphOf(graph))
        return 0;
    zif_object *plugin = zif_findPluginWithName(graph->context, pluginName);
    if (!plugin)
        return 0;
    Plugin *p = pluginOf(plugin);
    uint64_t id = 0;
    if (!p->directCreate)
        fail(graph->context, ZIF_ERR_NO_DIRECT_CREATE);
    else
        id = p->directCreate(plugin, graph, description);
    zif_release(plugin);
    return id;
}

}  // extern "C"
