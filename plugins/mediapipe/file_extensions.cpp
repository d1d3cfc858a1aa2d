#include "plugins/mediapipe/file_extensions.h"
#include "plugins/mediapipe/stream_pipeline.h"

#include <gst/gst.h>

#include <algorithm>
#include <cctype>

namespace mediapipe {

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

const char *const kExcluded[] = {".aif", ".aiff", ".aifc", ".au",  ".mpa", ".mid",  ".rmi",  ".wav",
                                 ".mp2", ".mp3",  ".wma",  ".cda", ".bmp", ".gif",  ".jpg",  ".jpeg",
                                 ".jfif", ".jpe", ".png",  ".tga", ".ogg"};

}  // namespace

bool extensionTaken(const ExtensionCandidate &candidate, const std::vector<std::string> &list)
{
    std::string name = lower(candidate.name);
    if (name.size() < 2 || name[0] != '.')
        return false;
    if (std::find(std::begin(kExcluded), std::end(kExcluded), name) != std::end(kExcluded))
        return false;
    if (lower(candidate.description).find("windows media player") != std::string::npos)
        return false;
    std::string mime = lower(candidate.mimeType);
    if (!mime.empty() && mime.rfind("video/", 0) != 0)
        return false;
    return std::none_of(list.begin(), list.end(), [&](const std::string &e) { return lower(e) == name; });
}

std::vector<std::string> extensionsFrom(const std::vector<ExtensionCandidate> &candidates)
{
    std::vector<std::string> list;
    for (const ExtensionCandidate &c : candidates)
        if (extensionTaken(c, list))
            list.push_back(c.name);
    return list;
}

std::vector<ExtensionCandidate> typeFinderCandidates()
{
    std::vector<ExtensionCandidate> out;
    if (!mediapipeInit())
        return out;
    GList *factories = gst_type_find_factory_get_list();
    for (GList *at = factories; at; at = at->next) {
        auto *factory = GST_TYPE_FIND_FACTORY(at->data);
        const gchar *const *extensions = gst_type_find_factory_get_extensions(factory);
        GstCaps *caps = gst_type_find_factory_get_caps(factory);
        // A finder without caps says nothing about the kind of media.
        if (!extensions || !caps || gst_caps_get_size(caps) == 0)
            continue;
        std::string mime = gst_structure_get_name(gst_caps_get_structure(caps, 0));
        std::string description = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
        for (const gchar *const *e = extensions; *e; ++e)
            out.push_back({std::string(".") + *e, mime, description});
    }
    gst_plugin_feature_list_free(factories);
    return out;
}

}  // namespace mediapipe
