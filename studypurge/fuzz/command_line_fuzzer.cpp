// Feeds arbitrary argument lists to the command line's parsing: the input is split at
// NUL bytes into arguments. Only the decisions are run; nothing touches the disk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    const spcli::Launch launch = spcli::classifyArguments(args);
    // A single path for the dialog is one of the arguments given, never an option.
    if (launch.kind == spcli::LaunchKind::DialogWithPath &&
        (std::find(args.begin(), args.end(), launch.path) == args.end() ||
         launch.path.rfind("--", 0) == 0)) {
        std::abort();
    }
    spcli::Options options;
    std::string error;
    const bool parsed = spcli::parseArguments(args, options, error);
    // A refusal always says why; an accepted line never does.
    if (parsed != error.empty()) {
        std::abort();
    }
    return 0;
}
