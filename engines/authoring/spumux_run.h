// One spumux run: the input VOB is fed through a counting pipe (for the
// percentage), the output streamed straight into the output file.
#pragma once

#include <string>

namespace authoring {

// 0 on success; otherwise non-zero with *error set and no output file left.
int run_spumux(const std::string &control, const std::string &input, const std::string &output, int &percent,
               std::string *error);

} // namespace authoring
