// The command line of sysreport: reports written without a window, for support
// staff working over SSH or from scripts.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "SystemFacts.h"

namespace sysreport::cli {

enum class Command { OpenWindow, Save, Text, Help, Version, Invalid };

struct Request {
    Command command = Command::OpenWindow;
    std::string file;     // --save/--text: the file named, "" for the default
    std::string problem;  // Invalid: what is wrong
};

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The arguments after the program's name.
Request parseArguments(const std::vector<std::string>& arguments);

std::string usageText();

// The same facts as the HTML report, as label and value lines without markup.
std::string reportAsPlainText(const std::string& html);

// What a run needs; the program passes the platform's own, tests pass fakes.
struct Session {
    std::ostream& out;
    std::ostream& err;
    // The HTML report (UTF-8); probe messages go to the sink.
    std::function<std::string(MessageSink&)> buildReport;
    // Where View/Save would put the report.
    std::function<std::string()> defaultReportPath;
};

int run(const Request& request, Session& session);

// The program's entry point: nullopt when the window is to open (no arguments and
// a display to show it on), else the exit code after writing to `out` and `err`.
std::optional<int> runCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                  std::ostream& err);

// Platform parts.
// True when a window could be shown (always on Windows).
bool displayAvailable();
// Windows: lets the output of a GUI program reach the console it was started
// from; nothing elsewhere.
void attachParentConsole();
// The screen as the system reports it without a window; zeros when unknown.
ScreenFacts screenFactsWithoutWindow();

}  // namespace sysreport::cli
