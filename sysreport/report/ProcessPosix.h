// Starting other programs on Linux (the mail program, the system information tool).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "BusyWait.h"

namespace sysreport {

struct ProcessOutcome {
    bool started = false;   // false: `error` says why
    bool finished = false;  // ended within the wait
    int exitCode = -1;      // when finished: the exit status, -1 after a signal
    std::string error;
};

// Starts `arguments[0]`, looked up on PATH, with the other arguments, and waits up
// to `wait` for it to end, through `waiter`. A program still running then keeps
// running; it is reaped in the background when it ends.
ProcessOutcome startProgram(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait, BusyWait& waiter);

// The same, sleeping while it waits.
ProcessOutcome startProgram(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait);

// The first line a program writes to its standard output, "" when it cannot be
// started, fails or writes nothing within `wait`.
std::string firstOutputLine(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait);

// The full path of the executable `name` in the folders of `pathVariable`
// (colon-separated), or "" when none holds it.
std::string findOnPath(const std::string& name, const std::string& pathVariable);

}  // namespace sysreport
