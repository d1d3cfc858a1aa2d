// Text for the XML control files the authoring tools read.
#pragma once

#include <string>
#include <vector>

namespace vt::production {

// An attribute value with &, <, >, " and ' escaped (UTF-8 passes through).
std::string XmlAttributeValue(const std::string &text);

// Lines joined with CR LF, each ending in CR LF.
std::string JoinCrLf(const std::vector<std::string> &lines);

// Writes text to path through a temporary file and a rename; false when it
// cannot be written.
bool WriteTextFile(const std::string &path, const std::string &text);

} // namespace vt::production
