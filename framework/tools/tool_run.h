// What every zif-run command does around its graph.
#pragma once

#include "framework/include/zif.h"

#include <functional>

// The graph's log, or the context's when there is no graph, on stderr.
void printLog(zif_context *ctx, zif_object *graph);

// Runs a command in a fresh framework context: work builds and runs its
// graph (handing it out through its second argument); with log, the log is
// printed afterwards. The command's status, or 1 without a context.
int runInContext(bool log, const std::function<int(zif_context *, zif_object **)> &work);
