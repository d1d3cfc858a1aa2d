// The XML dump of a graph: fixed layout, IDs as identities, escaped names.
#include "framework/graph/graph_types.h"
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace {

using GraphXml = GraphTest;

std::string hex(uint64_t v)
{
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIX64, v);
    return text;
}

TEST_F(GraphXml, EmptyGraph)
{
    std::string text = dump();
    EXPECT_EQ(text.substr(text.find('\n') + 1), "</graph>\n");
    EXPECT_EQ(text.rfind("<graph p=\"", 0), 0u);
}

TEST_F(GraphXml, GoldenDumpOfAConnectedPair)
{
    zif_object *reader = node("reader");
    zif_object *out = port(reader, ZIF_PORT_OUTPUT, "reader.out", "{format: [\"a\", \"b\"]}");
    zif_object *writer = node("w<1>&\"x\"");
    zif_object *in = port(writer, ZIF_PORT_INPUT, "w.in", "{format: \"b\"}");
    zif_object *spare = port(writer, ZIF_PORT_INPUT, "w.spare");
    zif_portSetMaxConnections(spare, -1);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(out), zif_portGetID(in)), 1);

    // Connector IDs are drawn right after the ports' last description IDs.
    uint64_t outConnector = zif_newID(ctx) - 2, inConnector = outConnector + 1;
    auto descid = [](zif_object *p) { return std::to_string(zif::portRecord(p)->descriptionId); };
    std::string expected =
        "<graph p=\"" + hex(zif::graphRecord(graph)->identity) + "\" >\n"
        "  <node p=\"" + hex(zif_nodeGetID(writer)) + "\"\n"
        "        name=\"w&lt;1&gt;&amp;&quot;x&quot;\">\n"
        "    <port p=\"" + hex(zif_portGetID(spare)) + "\"\n"
        "          name=\"w.spare\"\n"
        "          type=\"in\"\n"
        "          descid=\"" + descid(spare) + "\"\n"
        "          minconnections=\"1\"\n"
        "          maxconnections=\"-1\"\n"
        "          connections=\"0\" >\n"
        "      <blocklist>\n"
        "      </blocklist>\n"
        "      <connectorlist>\n"
        "      </connectorlist>\n"
        "    </port>\n"
        "    <port p=\"" + hex(zif_portGetID(in)) + "\"\n"
        "          name=\"w.in\"\n"
        "          type=\"in\"\n"
        "          descid=\"" + descid(in) + "\"\n"
        "          minconnections=\"1\"\n"
        "          maxconnections=\"1\"\n"
        "          connections=\"1\" >\n"
        "      <description>\n"
        "        <table>\n"
        "          <entry name=\"format\"> <string val=\"b\" /> </entry>\n"
        "        </table>\n"
        "      </description>\n"
        "      <blocklist>\n"
        "      </blocklist>\n"
        "      <connectorlist>\n"
        "        <connector p=\"" + hex(inConnector) + "\"\n"
        "                   partner=\"" + hex(outConnector) + "\"\n"
        "                   partnerportname=\"reader.out\" >\n"
        "          <description>\n"
        "            <table>\n"
        "              <entry name=\"format\"> <string val=\"b\" /> </entry>\n"
        "            </table>\n"
        "          </description>\n"
        "        </connector>\n"
        "      </connectorlist>\n"
        "    </port>\n"
        "  </node>\n"
        "  <node p=\"" + hex(zif_nodeGetID(reader)) + "\"\n"
        "        name=\"reader\">\n"
        "    <port p=\"" + hex(zif_portGetID(out)) + "\"\n"
        "          name=\"reader.out\"\n"
        "          type=\"out\"\n"
        "          descid=\"" + descid(out) + "\"\n"
        "          minconnections=\"1\"\n"
        "          maxconnections=\"1\"\n"
        "          connections=\"1\" >\n"
        "      <description>\n"
        "        <table>\n"
        "          <entry name=\"format\">\n"
        "            <list>\n"
        "              <string val=\"a\" />\n"
        "              <string val=\"b\" />\n"
        "            </list>\n"
        "          </entry>\n"
        "        </table>\n"
        "      </description>\n"
        "      <blocklist>\n"
        "      </blocklist>\n"
        "      <connectorlist>\n"
        "        <connector p=\"" + hex(outConnector) + "\"\n"
        "                   partner=\"" + hex(inConnector) + "\"\n"
        "                   partnerportname=\"w.in\" >\n"
        "          <description>\n"
        "            <table>\n"
        "              <entry name=\"format\"> <string val=\"b\" /> </entry>\n"
        "            </table>\n"
        "          </description>\n"
        "        </connector>\n"
        "      </connectorlist>\n"
        "    </port>\n"
        "  </node>\n"
        "</graph>\n";
    EXPECT_EQ(dump(), expected);
    EXPECT_EQ(dump(), dump());
}

TEST_F(GraphXml, BlockListsFollowDescriptionChanges)
{
    zif_object *a = port(node("a"), ZIF_PORT_OUTPUT, "a.out");
    zif_object *b = port(node("b"), ZIF_PORT_INPUT, "b.in");
    struct Capture {
        static int32_t hook(zif_object *port, zif_object *connector)
        {
            *reinterpret_cast<zif_object **>(zif_portGetUserData(port)) = connector;
            return 1;
        }
    };
    zif_object *connector = nullptr;
    zif_portSetUserData(b, reinterpret_cast<intptr_t>(&connector));
    zif_portSetOnConnectFunc(b, Capture::hook);
    ASSERT_EQ(zif_graphCreateConnection(graph, zif_portGetID(a), zif_portGetID(b)), 1);
    ASSERT_EQ(zif_graphDestroyConnection(graph, connector, 1), 1);
    auto entry = [](uint64_t id) { return "<blockport stateid=\"" + std::to_string(id) + "\" />"; };
    uint64_t aId = zif::portRecord(a)->descriptionId, bId = zif::portRecord(b)->descriptionId;
    std::string blocked = dump();
    EXPECT_NE(blocked.find(entry(aId)), std::string::npos);
    EXPECT_NE(blocked.find(entry(bId)), std::string::npos);
    zif_portSetDescription(a, value("{format: \"x\"}"));
    std::string lifted = dump();
    EXPECT_EQ(lifted.find(entry(aId)), std::string::npos);
    EXPECT_EQ(lifted.find("<blockport"), std::string::npos);
}

}  // namespace
