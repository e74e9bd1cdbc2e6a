#pragma once
// How studypurge.exe starts: its arguments decide between the dialog and the command
// line, which runs without a window and writes to the console or the handles it was
// given.

#include <string>
#include <vector>

namespace spwin {

// The program's arguments, without its own name, as UTF-8.
std::vector<std::string> programArguments();

// Runs the command line in `args` and returns its exit code. Output goes to the
// standard handles the program was started with (a pipe or a file), else to the
// console of the process that started it.
int runCommandLine(const std::vector<std::string>& args);

}  // namespace spwin
