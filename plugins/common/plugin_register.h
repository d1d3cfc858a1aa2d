// Registering a plug-in with the context: its name, how it makes nodes, its
// builders and the file extensions it decodes.
#pragma once

#include "framework/include/zif.h"

#include <string>
#include <vector>

namespace plugins {

// Registers the plug-in name with its direct-create function, its
// add-builders function (null: none), the file extensions it decodes (null:
// none given) and its user data. False on failure.
bool pluginRegister(zif_context *context, const std::string &name, zif_pluginDirectCreateNodeFunc directCreate,
                    zif_pluginAddBuildersFunc addBuilders = nullptr,
                    const std::vector<std::string> *extensions = nullptr, intptr_t userData = 0);

}  // namespace plugins
