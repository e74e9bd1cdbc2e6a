#include "ProcessPosix.h"
#include "ShellOpen.h"

namespace sysreport {
namespace {

// xdg-open hands over to the handler and ends; one still running after this long
// is the handler itself, started.
constexpr std::chrono::milliseconds kOpenWait{3000};

}  // namespace

bool openWithDesktop(const std::string& path, BusyWait& wait) {
    const ProcessOutcome outcome = startProgram({"xdg-open", path}, kOpenWait, wait);
    return outcome.started && !(outcome.finished && outcome.exitCode != 0);
}

}  // namespace sysreport
