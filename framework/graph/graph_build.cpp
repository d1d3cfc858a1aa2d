// The build: builders propose choices level by level, the search applies
// them depth first, recognises states it has reached before, and backtracks
// by restoring snapshots until every port has its minimum connections.
#include "framework/graph/graph_types.h"

#include <string>

namespace zif {

struct SearchLevel {
    SearchChoice *parent;  // the choice applied when the level was opened
    zif_object *snapshot;  // the state the level's choices start from
    SearchChoice *first;
    SearchChoice *last;
};

struct SearchChoice {
    SearchLevel *level;
    GraphBuilder *builder;  // held
    zif_object *data;       // held, may be null
    SearchLevel *child;
    SearchChoice *next;
};

namespace {

void levelFree(SearchLevel *level);

void choiceFree(SearchChoice *choice)
{
    zif_release(asObject(choice->builder));
    zif_release(choice->data);
    if (choice->child)
        levelFree(choice->child);
    delete choice;
}

void levelFree(SearchLevel *level)
{
    while (SearchChoice *c = level->first) {
        level->first = c->next;
        choiceFree(c);
    }
    zif_release(level->snapshot);
    delete level;
}

int32_t depthOf(const SearchChoice *choice)
{
    int32_t depth = 0;
    for (const SearchChoice *c = choice; c; c = c->level->parent)
        ++depth;
    return depth;
}

std::string builderName(const SearchChoice *choice) { return zif_stringGetValue(choice->builder->name); }

void logLine(Graph *graph, const char *source, const std::string &message)
{
    zif_graphLog(asObject(graph), ZIF_LOG_DEBUG, source, message.c_str());
}

void logChoice(Graph *graph, const char *verb, const SearchChoice *choice)
{
    logLine(graph, "", "lvl_" + std::to_string(depthOf(choice)) + ": " + verb + " choice from '" + builderName(choice) + "'.");
}

// Moves the search to the next untried choice, undoing and dropping the
// ones whose alternatives are used up. False when none is left.
bool nextAlternative(Graph *graph)
{
    SearchChoice *p = graph->currentChoice;
    while (p) {
        if (p == graph->currentChoice && graph->applied) {
            logChoice(graph, "undoing", p);
            if (p->builder->undoChoice)
                p->builder->undoChoice(asObject(p->builder), asObject(graph), p->data);
            graph->applied = false;
        }
        SearchLevel *level = p->level;
        SearchChoice *sibling = p->next;
        level->first = sibling;
        if (!sibling)
            level->last = nullptr;
        choiceFree(p);
        if (sibling) {
            p = sibling;
            break;
        }
        p = level->parent;
        graph->currentChoice = p;
        graph->applied = p != nullptr;
    }
    graph->currentChoice = p;
    graph->applied = false;
    if (p)
        return true;
    if (graph->rootLevel)
        levelFree(graph->rootLevel);
    graph->rootLevel = nullptr;
    return false;
}

bool backtrack(Graph *graph)
{
    for (;;) {
        if (!nextAlternative(graph)) {
            fail(graph->header.context, ZIF_ERR_BUILD_FAILED);
            return false;
        }
        logLine(graph, "backtrack", "restoring graph state");
        if (graphRestore(graph, graph->currentChoice->level->snapshot)) {
            logLine(graph, "backtrack", "graph state successfully restored");
            return true;
        }
        logLine(graph, "backtrack", "cannot restore graph state");
    }
}

bool graphComplete(Graph *graph)
{
    for (Node *n = graph->nodes; n; n = n->next)
        for (Port *p = n->ports; p; p = p->next)
            if (portConnectorCount(p) < p->minConnections)
                return false;
    return true;
}

// Every builder proposes its choices for the current state; false when one
// of them fails (its error stays).
bool collectChoices(Graph *graph)
{
    std::vector<GraphBuilder *> builders = graph->builders;
    for (GraphBuilder *b : builders)
        zif_addRef(asObject(b));
    bool ok = true;
    for (GraphBuilder *b : builders)
        if (ok && b->addChoices && !b->addChoices(asObject(b), asObject(graph)))
            ok = false;
    for (GraphBuilder *b : builders)
        zif_release(asObject(b));
    return ok;
}

// The state after the current choice was applied has been reached before.
bool stateVisited(Graph *graph, zif_object *state)
{
    for (zif_object *v : graph->visited)
        if (snapshotsEqual(state, v))
            return true;
    return false;
}

bool applyCurrentChoice(Graph *graph)
{
    SearchChoice *c = graph->currentChoice;
    if (!c->builder->applyChoice) {
        fail(graph->header.context, ZIF_ERR_BUILDER_NO_APPLY);
        return false;
    }
    logChoice(graph, "applying", c);
    // The choice may be dropped by a nested search step; keep what we pass.
    zif_object *builder = zif_addRef(asObject(c->builder));
    zif_object *data = zif_addRef(c->data);
    bool ok = c->builder->applyChoice(builder, asObject(graph), data) != 0;
    zif_release(data);
    zif_release(builder);
    if (!ok)
        logLine(graph, "", "applying FAILED!");
    return ok;
}

// The search loop; true when the graph is complete. exhausted tells a
// search that ran out of alternatives (or steps) from a failing builder.
bool search(Graph *graph, bool *exhausted)
{
    auto giveUp = [&] {
        *exhausted = zif_getLastError(graph->header.context) == ZIF_ERR_BUILD_FAILED;
        return false;
    };
    int64_t steps = 0;
    for (;;) {
        if (!graph->currentChoice || graph->applied) {
            if (!collectChoices(graph))
                return false;
        }
        SearchLevel *level = graph->currentChoice ? graph->currentChoice->child : graph->rootLevel;
        if (level && level->first) {
            graph->currentChoice = level->first;
            graph->applied = false;
        } else if (!graph->currentChoice || graph->applied) {
            if (graphComplete(graph)) {
                graph->lastBuiltCounter = graph->changeCounter;
                return true;
            }
            logLine(graph, "build", "reached dead end. Backtracking...");
            if (!backtrack(graph))
                return giveUp();
            continue;
        }
        if (++steps > graph->searchStepLimit) {
            logLine(graph, "build", "search step limit reached");
            graphSearchRelease(graph);
            fail(graph->header.context, ZIF_ERR_BUILD_FAILED);
            return giveUp();
        }
        if (!applyCurrentChoice(graph)) {
            if (!backtrack(graph))
                return giveUp();
            continue;
        }
        graph->applied = true;
        zif_object *state = graphCurrentSnapshot(graph);
        if (!state)
            return false;
        if (stateVisited(graph, state)) {
            if (!backtrack(graph))
                return giveUp();
            continue;
        }
        graph->visited.push_back(zif_addRef(state));
    }
}

}  // namespace

void graphSearchRelease(Graph *graph)
{
    if (graph->rootLevel)
        levelFree(graph->rootLevel);
    graph->rootLevel = nullptr;
    graph->currentChoice = nullptr;
    graph->applied = false;
    for (zif_object *v : graph->visited)
        zif_release(v);
    graph->visited.clear();
}

}  // namespace zif

using namespace zif;

extern "C" {

int32_t zif_graphAddChoice(zif_object *graph, zif_object *builder, zif_object *choice)
{
    Graph *g = graphOf(graph);
    GraphBuilder *b = g ? builderOf(builder) : nullptr;
    if (!b) {
        if (g)
            fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    SearchChoice *current = g->currentChoice;
    SearchLevel *&level = current ? current->child : g->rootLevel;
    if (!level) {
        zif_object *state = graphCurrentSnapshot(g);
        if (!state)
            return 0;
        level = new SearchLevel{current, zif_addRef(state), nullptr, nullptr};
    }
    auto *c = new SearchChoice{level, reinterpret_cast<GraphBuilder *>(zif_addRef(builder)), zif_addRef(choice),
                               nullptr, nullptr};
    if (level->last)
        level->last->next = c;
    else
        level->first = c;
    level->last = c;
    logLine(g, "", "add choice from '" + std::string(zif_stringGetValue(b->name)) + "'.");
    return 1;
}

int32_t zif_graphBuild(zif_object *graph)
{
    Graph *g = graphOf(graph);
    if (!g)
        return 0;
    if (g->building || g->working) {
        fail(graph->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    if (g->changeCounter == g->lastBuiltCounter)
        return 1;
    zif_object *before = graphCurrentSnapshot(g);
    if (!before)
        return 0;
    zif_addRef(before);
    zif_addRef(graph);
    g->building = true;
    bool exhausted = false;
    bool complete = search(g, &exhausted);
    // With every alternative used up, nothing of the failed branches stays.
    if (exhausted) {
        graphRestore(g, before);
        fail(graph->context, ZIF_ERR_BUILD_FAILED);
    }
    g->building = false;
    zif_release(before);
    zif_release(graph);
    return complete ? 1 : 0;
}

}  // extern "C"
