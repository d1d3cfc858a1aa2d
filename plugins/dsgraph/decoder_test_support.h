// Test harness for a system decoder plug-in as a client uses it: a context
// with the plug-in module loaded, fixture clips made with the ffmpeg CLI in
// a scratch folder, and sink nodes that collect what a port delivers.
#pragma once

#include "framework/include/zif.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace systest {

// A node with one input port that keeps every sample it receives and
// finishes at the end of stream.
struct Sink {
    std::vector<zif_object *> samples;
    zif_object *queue = nullptr;
    bool ended = false;
    ~Sink();
    // Samples that carry data.
    std::vector<zif_object *> data() const;
};

class DecoderTest : public ::testing::Test {
protected:
    // module: file name in the program folder; plugin: the decoder's name.
    DecoderTest(const char *module, const char *plugin) : module_(module), plugin_(plugin) {}
    void SetUp() override;
    void TearDown() override;

    std::string file(const std::string &name) const { return folder_ + "/" + name; }
    // Runs "ffmpeg -nostdin -v error -y ARGS" in the scratch folder.
    bool clip(const std::string &args) const;

    // A static "read" command for file name with extra entries (taken);
    // returns its output port.
    uint64_t addCommand(const std::string &name, zif_object *extra = nullptr);
    // Direct-creates the decoder and connects the command: the result.
    int32_t connect(uint64_t command, uint64_t *decoder = nullptr);
    // The node's ports of that direction whose name starts with prefix.
    std::vector<uint64_t> ports(uint64_t node, int32_t type, const std::string &prefix = "");
    std::string portName(uint64_t port);
    zif_object *portDescription(uint64_t port);
    Sink *addSink(uint64_t output);
    // A sink whose input port asks for description and needs one
    // connection, left for the graph search to connect.
    Sink *addWantingSink(zif_object *description);
    // Works until finished or failing (bounded).
    bool runToEnd(int maxPasses = 200000);

    zif_context *ctx = nullptr;
    zif_object *graph = nullptr;

private:
    zif_object *findPort(uint64_t id);
    std::string module_, plugin_, folder_;
    std::vector<Sink *> sinks_;
};

std::string bytesOf(zif_object *sample, const char *key);
double secondsOf(zif_object *sample);
// Runs a shell command; its standard output.
std::string shell(const std::string &command);

}  // namespace systest
