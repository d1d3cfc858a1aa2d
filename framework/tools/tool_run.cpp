#include "framework/tools/tool_run.h"

#include <cstdio>

void printLog(zif_context *ctx, zif_object *graph)
{
    zif_object *log = graph ? zif_graphGetLog(graph) : zif_getLog(ctx);
    zif_object *text = zif_logGetText(log);
    if (text)
        std::fputs(zif_stringGetValue(text), stderr);
    zif_release(text);
    zif_release(log);
}

int runInContext(bool log, const std::function<int(zif_context *, zif_object **)> &work)
{
    zif_context *ctx = nullptr;
    if (zif_create(&ctx) != 0) {
        std::fputs("zif-run: cannot create a framework context\n", stderr);
        return 1;
    }
    zif_object *graph = nullptr;
    const int status = work(ctx, &graph);
    if (log)
        printLog(ctx, graph);
    zif_release(graph);
    zif_destroy(ctx);
    return status;
}
