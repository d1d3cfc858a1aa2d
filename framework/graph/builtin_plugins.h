// The plug-ins every context starts with, registered in this order:
// "connect", "filereader", "filewriter", "disableoptional", "framerateconvert".
// Each contributes one builder to every graph made with builders.
#pragma once

#include "framework/core/context.h"

namespace zif {

struct BuiltinPlugin {
    const char *name;
    const char *builderName;
    double priority;
    zif_graphBuilderAddChoicesFunc addChoices;
    zif_graphBuilderApplyChoiceFunc applyChoice;
    zif_graphBuilderUndoChoiceFunc undoChoice;
    zif_pluginDirectCreateNodeFunc directCreate;
};

extern const BuiltinPlugin kConnectPlugin;
extern const BuiltinPlugin kFileReaderPlugin;
extern const BuiltinPlugin kFileWriterPlugin;
extern const BuiltinPlugin kDisableOptionalPlugin;
extern const BuiltinPlugin kFramerateConvertPlugin;

bool builtinPluginsRegister(zif_context *context);

}  // namespace zif
