#include "ProcessPosix.h"

#include <fcntl.h>
#include <poll.h>
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

std::vector<char*> argumentVector(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

// Reaps `pid` in the background, so that it does not stay a zombie when it ends.
void reapLater(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

ProcessOutcome startProgram(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait, BusyWait& waiter) {
    ProcessOutcome outcome;
    if (arguments.empty()) {
        outcome.error = "no program named";
        return outcome;
    }
    std::vector<char*> argv = argumentVector(arguments);
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (spawnError != 0) {
        outcome.error = arguments[0] + ": " + std::strerror(spawnError);
        return outcome;
    }
    outcome.started = true;
    auto ended = [&] {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            outcome.finished = done == pid;
            outcome.exitCode = done == pid ? exitCodeOf(status) : -1;
            return true;
        }
        return false;
    };
    if (!ended()) {
        waiter.waitUntil(ended, wait);
    }
    if (!outcome.finished) {
        reapLater(pid);
    }
    return outcome;
}

ProcessOutcome startProgram(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait) {
    static const std::unique_ptr<BusyWait> sleeping = makeSleepingWait();
    return startProgram(arguments, wait, *sleeping);
}

std::string firstOutputLine(const std::vector<std::string>& arguments,
                            std::chrono::milliseconds wait) {
    int pipeEnds[2];
    if (arguments.empty() || pipe(pipeEnds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = argumentVector(arguments);
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    if (spawnError == 0) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        pollfd reader{pipeEnds[0], POLLIN, 0};
        while (output.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || poll(&reader, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char buffer[256];
            const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            output.append(buffer, static_cast<std::size_t>(got));
        }
        reapLater(pid);
    }
    close(pipeEnds[0]);
    return output.substr(0, output.find('\n'));
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
