// The state shared by the library's entry points: the initialisation value
// of the next run and the progress counters callers poll from other threads.
#pragma once

namespace authoring {

struct RunState {
    int init_value = 0;
    int mux_percent = 0; // read by pointer from other threads: atomic stores only
    int vob_megabytes = 0;
};

RunState &run_state();

// Stores a counter value so that another thread polling it sees whole values.
void publish(int &counter, int value);

} // namespace authoring
