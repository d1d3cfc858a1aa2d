// Graph builders: named, prioritised sources of choices for the search,
// kept in the graph by descending priority.
#include "framework/graph/graph_types.h"

#include <algorithm>

namespace zif {

namespace {

void builderDestroy(zif_object *object)
{
    GraphBuilder *b = builderRecord(object);
    object->refCount = 1;  // the destroy hook may take and drop references
    if (b->destroy)
        b->destroy(object);
    zif_release(b->name);
    object->refCount = 0;
}

// Places b after every builder of greater or equal priority.
void insertByPriority(std::vector<GraphBuilder *> &list, GraphBuilder *b)
{
    auto at = std::find_if(list.begin(), list.end(), [&](GraphBuilder *other) { return other->priority < b->priority; });
    list.insert(at, b);
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" {

zif_object *zif_graphAddNewBuilder(zif_object *graph, const char *name)
{
    Graph *g = graphOf(graph);
    if (!g)
        return nullptr;
    auto *b = objectNew<GraphBuilder>(graph->context, ZIF_TYPE_GRAPH_BUILDER, builderDestroy);
    if (!b)
        return nullptr;
    b->name = zif_newString(graph->context, name ? name : "");
    if (!b->name) {
        zif_release(asObject(b));
        return nullptr;
    }
    b->graph = g;
    b->priority = 50.0;
    insertByPriority(g->builders, b);
    return zif_addRef(asObject(b));
}

zif_object *zif_graphBuilderGetGraph(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? asObject(b->graph) : nullptr;
}

double zif_graphBuilderGetPriority(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->priority : 0.0;
}

int32_t zif_graphBuilderSetPriority(zif_object *builder, double priority)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->priority = priority;
    if (Graph *g = b->graph) {
        std::erase(g->builders, b);
        insertByPriority(g->builders, b);
    }
    return 1;
}

intptr_t zif_graphBuilderGetUserData(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->userData : 0;
}

int32_t zif_graphBuilderSetUserData(zif_object *builder, intptr_t data)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->userData = data;
    return 1;
}

zif_graphBuilderAddChoicesFunc zif_graphBuilderGetAddChoicesFunc(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->addChoices : nullptr;
}

int32_t zif_graphBuilderSetAddChoicesFunc(zif_object *builder, zif_graphBuilderAddChoicesFunc function)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->addChoices = function;
    return 1;
}

zif_graphBuilderApplyChoiceFunc zif_graphBuilderGetApplyChoiceFunc(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->applyChoice : nullptr;
}

int32_t zif_graphBuilderSetApplyChoiceFunc(zif_object *builder, zif_graphBuilderApplyChoiceFunc function)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->applyChoice = function;
    return 1;
}

zif_graphBuilderUndoChoiceFunc zif_graphBuilderGetOnUndoChoiceFunc(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->undoChoice : nullptr;
}

int32_t zif_graphBuilderSetOnUndoChoiceFunc(zif_object *builder, zif_graphBuilderUndoChoiceFunc function)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->undoChoice = function;
    return 1;
}

zif_graphBuilderDestroyFunc zif_graphBuilderGetDestroyFunc(zif_object *builder)
{
    GraphBuilder *b = builderOf(builder);
    return b ? b->destroy : nullptr;
}

int32_t zif_graphBuilderSetDestroyFunc(zif_object *builder, zif_graphBuilderDestroyFunc function)
{
    GraphBuilder *b = builderOf(builder);
    if (!b)
        return 0;
    b->destroy = function;
    return 1;
}

}  // extern "C"
