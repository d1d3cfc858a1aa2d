#include "engines/authoring/author_run.h"

#include <cstdio>

#include "engines/authoring/dvdauthor_library.h"
#include "engines/authoring/run_state.h"
#include "engines/authoring/tool_messages.h"
#include "engines/authoring/tool_process.h"

namespace authoring {

int run_dvdauthor(const std::string &project, int &megabytes, std::string *error)
{
    ToolProcess dvdauthor;
    if (!dvdauthor.start({DVDAUTHOR_DVDAUTHOR_PROGRAM, "-x", project}, ToolStreams{}, error))
        return -1;
    bool reported_error = false;
    dvdauthor.read_messages([&](const std::string &line) {
        int written = vob_megabytes_of(line);
        if (written >= 0)
            publish(megabytes, written);
        if (is_error_line(line)) {
            reported_error = true;
            *error = line;
        }
        if (is_notable_line(line))
            std::fprintf(stderr, "dvdauthor: %s\n", line.c_str());
    });
    int status = dvdauthor.wait();
    if (status != 0) {
        if (error->empty())
            *error = "dvdauthor ended with status " + std::to_string(status);
        return status;
    }
    return reported_error ? 1 : 0;
}

} // namespace authoring
