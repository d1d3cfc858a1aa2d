// What the module's picture converters share: one input and one output
// port, an input queue of one sample, a picture taken from the input only
// when the output queue is empty, and the rule that converters are never
// offered on converters' own ports (the depth-first search would chain them
// without end).
#pragma once

#include "framework/include/zif.h"

namespace ffplug {

class PictureFilter {
public:
    virtual ~PictureFilter();

    // Adds the node with its two ports ("KIND.in", "KIND.out") and this
    // filter as user data; the graph owns the filter from then on. Returns
    // the node (new reference) or null.
    zif_object *addNode(zif_object *graph, const char *kind, zif_object *inDescription, zif_object *outDescription);

protected:
    // The output for one input sample: *out is a new reference (the input
    // itself to pass it on), or null to drop it. False fails the work.
    virtual bool convert(zif_object *in, zif_object **out) = 0;
    // Called when the output port connects, with its connector.
    virtual bool outputConnected(zif_object *connector) = 0;

    // Copies the named entries (where present) of source into every table
    // of the input port's description, unless the input is connected.
    bool inputDescriptionTake(zif_object *source, const char *const *keys, int count);

    zif_object *inputPort_ = nullptr;  // not counted: the node holds it

private:
    static PictureFilter *of(zif_object *port);
    static void destroy(zif_object *node);
    static int32_t work(zif_object *node);
    static int32_t onInputConnect(zif_object *port, zif_object *connector);
    static int32_t onOutputConnect(zif_object *port, zif_object *connector);

    zif_object *inQueue_ = nullptr;
    zif_object *outQueue_ = nullptr;
};

// True when port belongs to a node that converts pictures: this module's
// converter or resizer, or the framework's frame rate converter.
bool portOfPictureConverter(zif_object *port);

// The first entry of a list, or value itself (new reference; null for an empty list).
zif_object *firstOf(zif_object *value);

}  // namespace ffplug
