// Feeds arbitrary argument lists (split at NUL bytes) to the command line's parsing,
// and arbitrary text to the conversion of a report into plain lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args(1);
    for (const char c : text) {
        if (c == '\0') {
            args.emplace_back();
        } else {
            args.back().push_back(c);
        }
    }
    const auto request = sysreport::cli::parseArguments(args);
    // An invalid line always says what is wrong.
    if (request.command == sysreport::cli::Command::Invalid && request.problem.empty()) {
        std::abort();
    }
    sysreport::cli::reportAsPlainText(text);
    return 0;
}
