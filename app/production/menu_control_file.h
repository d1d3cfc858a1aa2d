// The spumux control file of one menu ("Title.xml", "Chapter_{i}.xml"): the
// highlight and select images and the button rectangles, in order.
#pragma once

#include "app/production/menu_mapping.h"

#include <string>
#include <vector>

namespace vt::production {

// Lines with their indentation; paths escaped for XML.
std::vector<std::string> MakeMenuControlFile(const std::string &highlightPng, const std::string &selectPng,
                                             const std::vector<EdgeRect> &buttons);

} // namespace vt::production
