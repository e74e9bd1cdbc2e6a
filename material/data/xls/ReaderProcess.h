#pragma once
// Work run in a child process of its own, so that whatever it meets (a crash, a
// sanitizer stop, a hang) ends the child and never the program; the parent receives
// the bytes the child sent and learns how the child ended.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace material {

// Where the child's work sends its bytes.
class ChildOutput {
  public:
    virtual ~ChildOutput() = default;
    // False when the bytes could not all be sent (the parent stopped listening).
    virtual bool send(std::string_view bytes) = 0;
};

// Runs in the child; the child ends when it returns.
using ChildWork = std::function<void(ChildOutput&)>;

struct ChildLimits {
    // More bytes than this end the child: no sheet the import reads needs them.
    std::size_t maxBytes = std::size_t{64} << 20;
    // A child still running after this is ended.
    std::chrono::milliseconds timeout{30000};
};

struct ChildReport {
    enum class Outcome {
        Finished,    // sent everything and exited with status 0
        Failed,      // died by a signal, exited with another status or could not send
        TooLarge,    // sent more than the limit allows and was ended
        TimedOut,    // ran past the time limit and was ended
        NotStarted,  // no child process could be made
    };
    Outcome outcome = Outcome::NotStarted;
    std::string bytes;  // what the child sent; whole only when Finished
};

ChildReport runInChildProcess(const ChildWork& work, const ChildLimits& limits = {});

}  // namespace material
