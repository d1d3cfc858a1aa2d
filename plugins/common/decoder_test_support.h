// Test harness for plug-ins as a client uses them: a context with plug-in
// modules loaded, fixture files in a scratch folder (clips made with the
// ffmpeg CLI), a decoder created directly and fed a static "read" command,
// sources that hand out prepared samples and sinks that keep what arrives.
#pragma once

#include "framework/include/zif.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace plugintest {

// A node with one input port that keeps every sample it receives (a
// reference each) and finishes at the end of stream.
struct Sink {
    std::string portName;               // of the output it was made for
    zif_object *description = nullptr;  // that output's
    std::vector<zif_object *> samples;  // everything, in order
    bool ended = false;
    zif_object *queue = nullptr;
    zif_object *agreed = nullptr;  // the connector's description
    int32_t queueLimit = 0;        // entries its queue holds at most; 0: no limit
    ~Sink();
    // The samples that carry a picture or sound ("data" or "yuv.data.y").
    std::vector<zif_object *> data() const;
};

// A node with one output port that queues the given samples, one per
// pass, and finishes when they are all handed out.
struct Source {
    std::vector<zif_object *> pending;
    zif_object *queue = nullptr;
    ~Source();
};

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a module from the program folder (or a path with a '/'); 1 or 0.
    // Makes the graph anew so that its search knows the module's builders:
    // load modules before adding nodes.
    int32_t loadModule(const std::string &file);
    std::string file(const std::string &name) const { return folder_ + "/" + name; }
    std::string fileUri(const std::string &name) const { return "file://" + file(name); }
    const std::string &folder() const { return folder_; }
    // Runs "ffmpeg -nostdin -v error -y ARGS" in the scratch folder.
    bool clip(const std::string &args) const;
    // Runs a shell command in the scratch folder and returns its output.
    std::string run(const std::string &command) const;

    // A static "read" command with "uri" = uri and the extra entries (not
    // taken); returns its output port.
    uint64_t addCommand(const std::string &uri, zif_object *extra = nullptr);
    // Direct-creates the plug-in's decoder (kept in `decoder`, and in *node
    // when given) and connects the command to it: 1 or 0.
    int32_t connectDecoder(const std::string &plugin, uint64_t command, uint64_t *node = nullptr);
    // addCommand and connectDecoder in one.
    int32_t open(const std::string &plugin, const std::string &uri, zif_object *extra = nullptr);

    // The decoder's output ports whose description has that "mediatype",
    // in the order they were added.
    std::vector<uint64_t> decoderPorts(uint64_t node, const char *mediatype);
    // The node's ports of that direction (-1: both) whose name starts with
    // prefix, in the order they were added.
    std::vector<uint64_t> ports(uint64_t node, int32_t type, const std::string &prefix = "");
    std::string portName(uint64_t port);
    // The description of the port with that id (new reference).
    zif_object *portDescription(uint64_t port);

    // A sink connected to that output port.
    Sink *addSink(uint64_t output);
    // A sink whose input port (its id in *port) asks for description and
    // needs minimum connections, left for the caller or the graph search to
    // connect.
    Sink *addSink(zif_object *description, uint64_t *port = nullptr, int32_t minimum = 1);
    // A source of the samples (taken) on an output port of description.
    Source *addSource(zif_object *description, std::vector<zif_object *> samples, uint64_t *port = nullptr);
    // Works until the graph is finished or a pass fails (bounded).
    bool runToEnd(int maxPasses = 200000);
    // Connects a sink to every output port of the decoder and works the
    // graph until all of them saw the end of their stream. False when a
    // connection or a pass fails.
    bool decodeAll();
    // The sink of decodeAll whose port carries that "mediatype", or null.
    Sink *output(const char *mediatype) const;
    // Number of nodes of the graph with that name (nodes with ports).
    int nodesNamed(const char *name);
    // A table of integer entries (new reference).
    zif_object *table(std::initializer_list<std::pair<const char *, int64_t>> ints);

    // The sinks of decodeAll, in the order the decoder's ports were added.
    std::vector<Sink *> outputs;
    zif_context *ctx = nullptr;
    zif_object *graph = nullptr;
    uint64_t decoder = 0;
    // The queue limit of the sinks made from now on.
    int32_t sinkQueueLimit = 0;

private:
    // minimum < 0 leaves the port's minimum connections as they are.
    Sink *newSink(zif_object *description, int32_t minimum, uint64_t *input);
    zif_object *findPort(uint64_t id);
    std::string folder_;
    std::vector<Sink *> sinks_;
    std::vector<Source *> sources_;
};

// Bytes of a sample's data entry.
std::string bytesOf(zif_object *sample, const char *key = "data");
// A time key of a sample as seconds (fract or double).
double secondsOf(zif_object *sample, const char *key = "presentationtime");
// A file's bytes.
std::string fileBytes(const std::string &path);

}  // namespace plugintest
