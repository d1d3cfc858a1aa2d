// Registers the built-in plug-ins in their fixed order; each one's
// add-builders function gives a graph its builder.
#include "framework/graph/builtin_plugins.h"

namespace zif {

namespace {

const BuiltinPlugin *const kBuiltins[] = {
    &kConnectPlugin, &kFileReaderPlugin, &kFileWriterPlugin, &kDisableOptionalPlugin, &kFramerateConvertPlugin,
};

const BuiltinPlugin *specOf(zif_object *plugin)
{
    return reinterpret_cast<const BuiltinPlugin *>(zif_pluginGetUserData(plugin));
}

int32_t addBuilder(zif_object *plugin, zif_object *graph)
{
    const BuiltinPlugin *spec = specOf(plugin);
    zif_object *builder = zif_graphAddNewBuilder(graph, spec->builderName);
    if (!builder)
        return 0;
    zif_graphBuilderSetPriority(builder, spec->priority);
    zif_graphBuilderSetAddChoicesFunc(builder, spec->addChoices);
    zif_graphBuilderSetApplyChoiceFunc(builder, spec->applyChoice);
    zif_graphBuilderSetOnUndoChoiceFunc(builder, spec->undoChoice);
    zif_release(builder);
    return 1;
}

}  // namespace

bool builtinPluginsRegister(zif_context *context)
{
    for (const BuiltinPlugin *spec : kBuiltins) {
        zif_object *plugin = zif_newPlugin(context, spec->name);
        if (!plugin)
            return false;
        zif_pluginSetUserData(plugin, reinterpret_cast<intptr_t>(spec));
        zif_pluginSetAddBuildersFunc(plugin, addBuilder);
        zif_pluginSetDirectCreateNodeFunc(plugin, spec->directCreate);
        zif_release(plugin);
    }
    return true;
}

}  // namespace zif
