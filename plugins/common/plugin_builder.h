// The builder side plug-ins share: adding a plug-in's builder to a graph,
// and connecting the node a choice made to the port it was made for.
#pragma once

#include "framework/include/zif.h"

namespace plugins {

// Adds to graph the builder name with its priority and choice functions:
// 1 or 0, as an add-builders function returns.
int32_t builderAdd(zif_object *graph, const char *name, double priority, zif_graphBuilderAddChoicesFunc addChoices,
                   zif_graphBuilderApplyChoiceFunc applyChoice);

// Connects the port ownPort of node (a new reference, taken; null when the
// node could not be made) with the port partner: 1 or 0, as an apply-choice
// function returns.
int32_t newNodeConnect(zif_object *graph, zif_object *node, const char *ownPort, uint64_t partner);

}  // namespace plugins
