#pragma once
// Workbooks are read in a process of their own, so that whatever the reader meets in a
// hostile file (a crash, a sanitizer stop, a hang) ends that process and never the
// program; the program receives the bytes the reading process sent and learns how it
// ended.

#include <chrono>
#include <cstddef>
#include <string>

namespace material {

struct ChildLimits {
    // More bytes than this end the child: no sheet the import reads needs them.
    std::size_t maxBytes = std::size_t{64} << 20;
    // A child still running after this is ended.
    std::chrono::milliseconds timeout{30000};
};

struct ChildReport {
    enum class Outcome {
        Finished,    // sent everything and exited with status 0
        Failed,      // crashed, exited with another status or could not send
        TooLarge,    // sent more than the limit allows and was ended
        TimedOut,    // ran past the time limit and was ended
        NotStarted,  // no child process could be made
    };
    Outcome outcome = Outcome::NotStarted;
    std::string bytes;  // what the child sent; whole only when Finished
};

// The message of the workbook at `path` (UTF-8; see workbookMessage()), as a process of
// its own read and sent it.
ChildReport readWorkbookInChild(const std::string& path, const ChildLimits& limits = {});

}  // namespace material
