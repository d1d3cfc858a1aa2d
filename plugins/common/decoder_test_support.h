// Test harness for decoder plug-ins as a client uses them: a context with
// one plug-in module loaded, fixture files in a scratch folder (clips made
// with the ffmpeg CLI), a decoder created directly and fed a static "read"
// command, and a sink on every output port that keeps what arrives.
#pragma once

#include "framework/include/zif.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plugintest {

// Everything one output port of the decoder delivered.
struct Received {
    std::string portName;
    zif_object *description = nullptr;  // the port's
    std::vector<zif_object *> samples;  // with "data", in order
    bool ended = false;
    zif_object *queue = nullptr;
};

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a module from the program folder (or a path with a '/'); 1 or 0.
    int32_t loadModule(const std::string &file);
    std::string file(const std::string &name) const { return folder_ + "/" + name; }
    const std::string &folder() const { return folder_; }
    // Runs "ffmpeg -nostdin -v error -y ARGS" in the scratch folder.
    bool clip(const std::string &args);
    // Runs a shell command in the scratch folder and returns its output.
    std::string run(const std::string &command);

    // Creates the plug-in's decoder and connects a "read" command with
    // "uri" = uri and the extra entries; 1 or 0 as the connection.
    int32_t open(const std::string &plugin, const std::string &uri, zif_object *extra = nullptr);
    // Connects a sink to every output port and works the graph until all
    // sinks saw the end of their stream. False when a pass fails.
    bool decodeAll();

    // The sinks, in the order the decoder's ports were added.
    std::vector<Received *> outputs;
    zif_context *ctx = nullptr;
    zif_object *graph = nullptr;
    uint64_t decoder = 0;

private:
    std::string folder_;
};

// Bytes of a sample's "data".
std::string dataOf(zif_object *sample);
// A time key of a sample as seconds (fract or double).
double secondsOf(zif_object *sample, const char *key);
// A file's bytes.
std::string fileBytes(const std::string &path);

}  // namespace plugintest
