// The graph as indented XML text, for logs and debugging. Objects are named
// by their IDs, so two dumps of the same graph are identical.
#include "framework/graph/graph_types.h"

#include <cinttypes>
#include <cstdio>
#include <string>

namespace zif {

namespace {

std::string hex(uint64_t v)
{
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIX64, v);
    return text;
}

std::string escaped(zif_object *string)
{
    std::string out;
    for (const char *p = zif_stringGetValue(string); p && *p; ++p) {
        switch (*p) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += *p;
        }
    }
    return out;
}

bool appendValue(std::string &out, zif_object *value, int32_t indent)
{
    zif_object *text = zif_valueToXMLString(value, indent);
    if (!text)
        return false;
    out += zif_stringGetValue(text);
    zif_release(text);
    return true;
}

bool appendConnector(std::string &out, Connector *c)
{
    Connector *partner = c->partner;
    out += "        <connector p=\"" + hex(c->id) + "\"\n                   partner=\"" +
           hex(partner ? partner->id : 0) + "\"\n                   partnerportname=\"" +
           (partner && partner->port ? escaped(partner->port->name) : std::string()) + "\" >\n";
    out += "          <description>\n";
    if (c->description && !appendValue(out, c->description, 12))
        return false;
    out += "\n          </description>\n        </connector>\n";
    return true;
}

bool appendPort(std::string &out, Port *p)
{
    out += "    <port p=\"" + hex(p->id) + "\"\n          name=\"" + escaped(p->name) + "\"\n          type=\"" +
           (p->type == ZIF_PORT_OUTPUT ? "out" : "in") + "\"\n          descid=\"" +
           std::to_string(static_cast<int64_t>(p->descriptionId)) + "\"\n          minconnections=\"" +
           std::to_string(p->minConnections) + "\"\n          maxconnections=\"" + std::to_string(p->maxConnections) +
           "\"\n          connections=\"" + std::to_string(portConnectorCount(p)) + "\" >\n";
    if (p->description) {
        out += "      <description>\n";
        if (!appendValue(out, p->description, 8))
            return false;
        out += "\n      </description>\n";
    }
    out += "      <blocklist>\n";
    for (uint64_t id : p->blockList)
        out += "        <blockport stateid=\"" + std::to_string(static_cast<int64_t>(id)) + "\" />\n";
    out += "      </blocklist>\n      <connectorlist>\n";
    for (Connector *c : p->connectors)
        if (!appendConnector(out, c))
            return false;
    out += "      </connectorlist>\n    </port>\n";
    return true;
}

}  // namespace

}  // namespace zif

using namespace zif;

extern "C" zif_object *zif_graphToXMLString(zif_object *graph)
{
    Graph *g = graphOf(graph);
    if (!g)
        return nullptr;
    std::string out = "<graph p=\"" + hex(g->identity) + "\" >\n";
    for (Node *n = g->nodes; n; n = n->next) {
        out += "  <node p=\"" + hex(n->id) + "\"\n        name=\"" + escaped(n->name) + "\">\n";
        for (Port *p = n->ports; p; p = p->next)
            if (!appendPort(out, p))
                return nullptr;
        out += "  </node>\n";
    }
    out += "</graph>\n";
    return zif_newString(graph->context, out.c_str());
}
