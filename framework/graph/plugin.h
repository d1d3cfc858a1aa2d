// Plug-in records and the context's plug-in list.
#pragma once

#include "framework/core/object.h"

namespace zif {

struct Plugin {
    zif_object header;
    zif_object *name;
    zif_object *modulePath;  // null for the built-in plug-ins
    intptr_t userData;
    zif_pluginAddBuildersFunc addBuilders;
    zif_pluginDestroyFunc destroy;
    zif_pluginDirectCreateNodeFunc directCreate;
    zif_object *decodeFileExtensions;
};

// Calls every plug-in's add-builders function for graph, in registration
// order; false when one of them fails.
bool pluginsAddBuilders(zif_context *context, zif_object *graph);

// The context part holding the plug-in list with the built-in plug-ins.
bool pluginsAttach(zif_context *context);
void pluginsDetach(zif_context *context);

}  // namespace zif
