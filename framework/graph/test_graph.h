// A context with one graph per test, and helpers to add nodes and ports
// and to read the graph log back.
#pragma once

#include "framework/core/test_context.h"
#include "framework/core/test_notation.h"

#include <string>
#include <vector>

// The text of a string value, releasing the reference handed in.
inline std::string textOf(zif_object *string)
{
    std::string text = string ? zif_stringGetValue(string) : "<null>";
    zif_release(string);
    return text;
}

class GraphTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        graph = own(zif_newGraph(ctx, 0));
        ASSERT_NE(graph, nullptr);
    }

    zif_object *value(const std::string &notation) { return own(Notation(ctx, notation).parse()); }

    zif_object *node(const char *name) { return own(zif_graphAddNewNode(graph, name)); }

    // A port with the description written in test notation ("" for none).
    zif_object *port(zif_object *node, int32_t type, const char *name, const std::string &description = "")
    {
        zif_object *p = own(zif_nodeAddNewPort(node, type, name));
        if (!description.empty())
            zif_portSetDescription(p, value(description));
        return p;
    }

    // The graph log's entries as "source|message", oldest first.
    std::vector<std::string> logLines()
    {
        std::vector<std::string> lines;
        zif_object *log = zif_graphGetLog(graph);
        zif_object *entries = zif_logGetEntries(log);
        while (zif_object *e = zif_iteratorNext(entries)) {
            lines.push_back(textOf(zif_logEntryGetSource(e)) + "|" + textOf(zif_logEntryGetMessage(e)));
            zif_release(e);
        }
        zif_release(entries);
        zif_release(log);
        return lines;
    }

    void clearLog()
    {
        zif_object *log = zif_graphGetLog(graph);
        zif_logClear(log);
        zif_release(log);
    }

    std::string dump() { return textOf(zif_graphToXMLString(graph)); }

    zif_object *graph = nullptr;
};
