// The authoring library's C entry points.
#include "engines/authoring/dvdauthor_library.h"

#include <cstdio>
#include <exception>
#include <string>

#include "engines/authoring/author_run.h"
#include "engines/authoring/run_state.h"
#include "engines/authoring/spumux_run.h"

using namespace authoring;

namespace {

bool initialised(const char *call)
{
    if (run_state().init_value == DVDAUTHOR_LIBRARY_INIT)
        return true;
    std::fprintf(stderr, "dvdauthor library: %s: setreg(%d) was not called before the run\n", call,
                 DVDAUTHOR_LIBRARY_INIT);
    return false;
}

void report(const char *call, const std::string &error)
{
    std::fprintf(stderr, "dvdauthor library: %s: %s\n", call, error.c_str());
}

} // namespace

extern "C" {

DVDAUTHOR_API void setreg(int init_value)
{
    run_state().init_value = init_value;
    publish(run_state().mux_percent, 0);
    publish(run_state().vob_megabytes, 0);
}

DVDAUTHOR_API int spumux_main(const char *control_file, const char *input_vob, const char *output_vob)
{
    if (!control_file || !input_vob || !output_vob || !initialised("spumux_main"))
        return 1;
    try {
        std::string error;
        int status = run_spumux(control_file, input_vob, output_vob, run_state().mux_percent, &error);
        if (status != 0)
            report("spumux_main", error);
        return status;
    } catch (const std::exception &e) {
        std::remove(output_vob);
        report("spumux_main", e.what());
        return 1;
    }
}

DVDAUTHOR_API int *getSubtitleMuxPercent(void)
{
    return &run_state().mux_percent;
}

DVDAUTHOR_API int author_main(const char *author_xml)
{
    if (!author_xml || !initialised("author_main"))
        return 1;
    try {
        std::string error;
        int status = run_dvdauthor(author_xml, run_state().vob_megabytes, &error);
        if (status != 0)
            report("author_main", error);
        return status;
    } catch (const std::exception &e) {
        report("author_main", e.what());
        return 1;
    }
}

DVDAUTHOR_API int *getVOBsMB(void)
{
    return &run_state().vob_megabytes;
}

} // extern "C"
