#include "ReaderProcessPosix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "SpreadsheetFile.h"

namespace material {
namespace {

using Clock = std::chrono::steady_clock;
using Outcome = ChildReport::Outcome;

class PipeOutput final : public ChildOutput {
  public:
    explicit PipeOutput(int fd) : fd_(fd) {}

    bool send(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                failed_ = true;
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool failed() const { return failed_; }

  private:
    int fd_;
    bool failed_ = false;
};

// What a third-party library prints while it fails (a sanitizer's report included)
// is no business of the program's output.
void silenceOutput() {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
}

// A crash of the child is an answer the parent expects, not a fault of the program:
// handlers the program installed for its own crashes (a crash reporter, a sanitizer's
// report) stay out of it, and the signal ends the child at once.
void restoreDefaultCrashHandling() {
    for (const int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) {
        ::signal(signal, SIG_DFL);
    }
}

// Leaves with _exit: the parent's exit handlers and buffered output belong to the
// parent, and a leak checker's exit pass would report what the work left behind.
[[noreturn]] void runChild(const ChildWork& work, int fd) {
    silenceOutput();
    restoreDefaultCrashHandling();
    int status = 1;
    try {
        PipeOutput output(fd);
        work(output);
        status = output.failed() ? 1 : 0;
    } catch (...) {
        status = 1;
    }
    ::_exit(status);
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60000));
}

// Reads until the child closes its end, the limits are passed or reading fails.
Outcome readAll(int fd, const ChildLimits& limits, std::string& bytes) {
    const Clock::time_point deadline = Clock::now() + limits.timeout;
    char buffer[65536];
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, millisecondsUntil(deadline));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled < 0) {
            return Outcome::Failed;
        }
        if (polled == 0) {
            if (Clock::now() < deadline) {
                continue;
            }
            return Outcome::TimedOut;
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got < 0) {
            return Outcome::Failed;
        }
        if (got == 0) {
            return Outcome::Finished;
        }
        if (static_cast<std::size_t>(got) > limits.maxBytes - bytes.size()) {
            return Outcome::TooLarge;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// The child's exit status; empty when it cannot be learnt.
std::optional<int> waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
    return status;
}

bool exitedCleanly(const std::optional<int>& status) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace

ChildReport runInChildProcess(const ChildWork& work, const ChildLimits& limits) {
    // Close-on-exec, so that a program some other part starts cannot hold the pipe
    // open and keep the end of the message from arriving.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return {};
    }
    if (child == 0) {
        ::close(ends[0]);
        runChild(work, ends[1]);
    }
    ::close(ends[1]);
    ChildReport report;
    report.outcome = readAll(ends[0], limits, report.bytes);
    ::close(ends[0]);
    if (report.outcome != Outcome::Finished) {
        ::kill(child, SIGKILL);
    }
    const std::optional<int> status = waitFor(child);
    if (report.outcome == Outcome::Finished && !exitedCleanly(status)) {
        report.outcome = Outcome::Failed;
    }
    return report;
}

ChildReport readWorkbookInChild(const std::string& path, const ChildLimits& limits) {
    return runInChildProcess([&path](ChildOutput& output) { output.send(workbookMessage(path)); },
                             limits);
}

SheetImport importFromChild(const std::string& path, const ChildWork& work,
                            const SheetNumberParser& parse, const ChildLimits& limits) {
    return importChildReport(path, runInChildProcess(work, limits), parse);
}

}  // namespace material
