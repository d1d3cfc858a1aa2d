// What the dvdauthor and spumux programs say on their message stream.
#pragma once

#include <string>

namespace authoring {

// "ERR:" lines report a failure whatever the exit status.
bool is_error_line(const std::string &line);

// Lines worth passing on to the user's terminal (errors and warnings).
bool is_notable_line(const std::string &line);

// The megabytes of a dvdauthor progress line ("STAT: VOBU 123 at 45MB, 1 PGCs"),
// or -1 for any other line.
int vob_megabytes_of(const std::string &line);

} // namespace authoring
