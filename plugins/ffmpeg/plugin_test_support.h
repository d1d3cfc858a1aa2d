// Test harness for the plug-in as a client uses it: a context with
// libwyv_ffmpeg.so loaded, fixture clips made with the ffmpeg CLI in a
// scratch folder, a source node that hands out prepared samples and a sink
// node that collects what arrives.
#pragma once

#include "framework/include/zif.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace fftest {

// Runs "ffmpeg -nostdin -v error -y ARGS" in the scratch folder.
bool makeClip(const std::string &folder, const std::string &args);

// A node with one input port of the given description that keeps every
// sample it receives (a reference each) and finishes at the end of stream.
struct Sink {
    std::vector<zif_object *> samples;
    zif_object *queue = nullptr;
    bool ended = false;
    zif_object *agreed = nullptr;  // the connector's description
    ~Sink();
    // Samples that carry a picture or sound (the last may also end the stream).
    std::vector<zif_object *> pictures() const;
};

// A node with one output port of the given description that queues the
// given samples, one per pass, the last one marked as the end of stream
// unless it already says so.
struct Source {
    std::vector<zif_object *> pending;
    zif_object *queue = nullptr;
    ~Source();
};

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of name in the scratch folder.
    std::string file(const std::string &name) const { return folder_ + "/" + name; }
    bool clip(const std::string &args) { return makeClip(folder_, args); }

    // A static "read" command for path (a uri with "file://" prefix unless
    // uri is given), plus extra entries; returns its output port id.
    uint64_t addCommand(const std::string &uri, zif_object *extra = nullptr);
    // Direct-creates a decoder and connects the command to it: 1 or 0.
    int32_t connectDecoder(uint64_t command, uint64_t *decoder = nullptr);
    // Decoder output ports, in port order (newest first as the graph keeps them, reversed).
    std::vector<uint64_t> decoderPorts(uint64_t decoder, const char *mediatype);
    // The description of the port with that id (new reference).
    zif_object *portDescription(uint64_t port);

    Sink *addSink(zif_object *description, uint64_t *port = nullptr, int minimum = 1);
    Source *addSource(zif_object *description, std::vector<zif_object *> samples, uint64_t *port = nullptr);
    // Works until finished or failing; false when a pass fails or it takes too long.
    bool runToEnd(int maxPasses = 100000);
    // Number of nodes of the graph with that name.
    int nodesNamed(const char *name);

    zif_object *table(std::initializer_list<std::pair<const char *, int64_t>> ints);

    zif_context *ctx = nullptr;
    zif_object *graph = nullptr;

private:
    std::string folder_;
    std::vector<Sink *> sinks_;
    std::vector<Source *> sources_;
};

// Plane bytes of a sample.
std::string planeBytes(zif_object *sample, const char *key);

// Runs zif-run from the program folder with args; the exit status, stdout in *out.
int runZifRun(const std::string &args, std::string *out);

// What ffprobe reports on the first stream of path: "key=value" lines of
// the asked -show_entries, with extra options (-count_frames, ...).
std::string ffprobe(const std::string &path, const std::string &entries, const std::string &extra = "");
// The value of key in such a report, or "".
std::string reportValue(const std::string &report, const std::string &key);

}  // namespace fftest

namespace fftest {

// A "yuv.separate" 4:2:0 picture of w x h filled with y, u, v; chroma
// planes are (w + 1) / 2 by (h + 1) / 2 unless chromaBytes says otherwise.
zif_object *yuvPicture(zif_context *ctx, int w, int h, uint8_t y, uint8_t u, uint8_t v, int64_t chromaBytes = -1);
// The description entries of one RGB layout: 24 or 32 bits, red offset.
zif_object *rgbDescription(zif_context *ctx, int bits, int offsetR);
// The 4:2:0 layout description with a size.
zif_object *yuvDescription(zif_context *ctx, int w, int h);

}  // namespace fftest
