#include <sys/wait.h>

#include <cstdlib>

#include "ProgramProcess.h"
#include "TestData.h"

namespace sysreport::testing {
namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

}  // namespace

Outcome ProgramProcess::run(const std::vector<std::string>& arguments) {
    std::string command = "env -i PATH=/usr/bin:/bin HOME=" + quoted(path("home")) +
                          " WINEPREFIX=" + quoted(testDataPath("all-families")) + " " +
                          quoted(program_.string());
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += " >" + quoted(path("out")) + " 2>" + quoted(path("err"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(path("out")),
            readBytes(path("err"))};
}

}  // namespace sysreport::testing
