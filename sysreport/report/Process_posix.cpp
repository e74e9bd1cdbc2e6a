#include "Process_posix.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace sysreport {
namespace {

int exitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessOutcome startProgram(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait) {
    ProcessOutcome outcome;
    if (arguments.empty()) {
        outcome.error = "no program named";
        return outcome;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (spawnError != 0) {
        outcome.error = arguments[0] + ": " + std::strerror(spawnError);
        return outcome;
    }
    outcome.started = true;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            outcome.finished = done == pid;
            outcome.exitCode = done == pid ? exitCodeOf(status) : -1;
            return outcome;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Still running: it must not stay a zombie when it ends.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return outcome;
}

std::string findOnPath(const std::string& name, const std::string& pathVariable) {
    std::size_t start = 0;
    while (start <= pathVariable.size()) {
        std::size_t end = pathVariable.find(':', start);
        if (end == std::string::npos) {
            end = pathVariable.size();
        }
        // An empty entry means the current folder.
        const std::string folder =
            end > start ? pathVariable.substr(start, end - start) : std::string(".");
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace sysreport
