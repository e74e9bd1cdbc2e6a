#include "CommandLine.h"

#include <filesystem>
#include <memory>

#include "FilePaths.h"
#include "ReportFile.h"
#include "ReportWriter.h"
#include "Version.h"

namespace sysreport::cli {
namespace {

// The report follows the start at once, so the host lookup has no head start: a
// DNS that does not answer by then leaves the interface's address in the report
// rather than holding up a script.
constexpr std::chrono::milliseconds kAddressWait{80};

// Probe messages of a run without a window go to the error stream.
class StreamMessages : public MessageSink {
  public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}
    void showMessage(const std::string& text) override {
        err_ << kAppTitle << ": " << text << "\n";
    }

  private:
    std::ostream& err_;
};

bool takesFile(const std::string& argument, Command command) {
    return argument.empty() || argument[0] != '-' || (command == Command::Text && argument == "-");
}

Request invalid(const std::string& problem) {
    return {Command::Invalid, {}, problem};
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(pathFromUtf8(path), error);
    return error ? path : pathToUtf8(absolute);
}

int saveReport(const std::string& file, Session& session) {
    const std::string path = file.empty() ? session.defaultReportPath() : absolutePath(file);
    StreamMessages messages(session.err);
    std::string error;
    if (!writeReportFile(path, session.buildReport(messages), error)) {
        session.err << kAppTitle << ": the report could not be written to " << path << ": " << error
                    << "\n";
        return kExitFailed;
    }
    session.out << path << "\n";
    return session.out ? kExitOk : kExitFailed;
}

int textReport(const std::string& file, Session& session) {
    StreamMessages messages(session.err);
    const std::string text = reportAsPlainText(session.buildReport(messages));
    if (file.empty() || file == "-") {
        session.out << text << std::flush;
        return session.out ? kExitOk : kExitFailed;
    }
    const std::string path = absolutePath(file);
    std::string error;
    if (!replaceFile(path, text, error)) {
        session.err << kAppTitle << ": the text could not be written to " << path << ": " << error
                    << "\n";
        return kExitFailed;
    }
    session.out << path << "\n";
    return session.out ? kExitOk : kExitFailed;
}

// The platform's own services, made only when a report is asked for.
class PlatformReport {
  public:
    PlatformReport()
        : facts_(makePlatformSystemFacts(kAddressWait)),
          clock_(makePlatformClock()),
          backend_(makePlatformRegistry()),
          ini_(makeIniFileReader()),
          cadHost_(makePlatformCadHost()),
          registry_(*backend_, *ini_),
          locations_(platformReportLocations()) {}

    std::string build(MessageSink& messages) {
        ReportWriter writer({*facts_, *clock_, registry_, *cadHost_, messages},
                            locations_.programFolder, screenFactsWithoutWindow());
        return writer.build();
    }
    std::string defaultPath() const { return resolveReportPath(locations_); }

  private:
    std::unique_ptr<SystemFacts> facts_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<RegistryBackend> backend_;
    std::unique_ptr<IniFileReader> ini_;
    std::unique_ptr<CadHost> cadHost_;
    RegistryReader registry_;
    ReportLocations locations_;
};

}  // namespace

Request parseArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string& option = arguments[0];
    Request request;
    if (option == "--help" || option == "-h") {
        request.command = Command::Help;
    } else if (option == "--version") {
        request.command = Command::Version;
    } else if (option == "--save") {
        request.command = Command::Save;
    } else if (option == "--text") {
        request.command = Command::Text;
    } else {
        return invalid("unknown option " + option);
    }
    std::size_t used = 1;
    const bool withFile = request.command == Command::Save || request.command == Command::Text;
    if (withFile && arguments.size() > 1 && takesFile(arguments[1], request.command)) {
        request.file = arguments[1];
        used = 2;
    }
    if (arguments.size() > used) {
        return invalid("unexpected argument " + arguments[used]);
    }
    return request;
}

std::string usageText() {
    return std::string("Usage: ") + kAppTitle +
           " [--save [FILE] | --text [FILE|-] | --help | --version]\n"
           "Writes the support report of this computer and its Korvex products.\n"
           "Without options the window opens.\n"
           "\n"
           "  --save [FILE]    write the HTML report to FILE (default: where View/Save\n"
           "                   puts it) and print its path\n"
           "  --text [FILE|-]  write the same facts as plain text to FILE, or to the\n"
           "                   standard output when FILE is - or left out\n"
           "  --help           show this help\n"
           "  --version        show the program's version\n"
           "\n"
           "Exit status: 0 when done, 1 when the report could not be written,\n"
           "2 for a wrong command line.\n";
}

int run(const Request& request, Session& session) {
    switch (request.command) {
        case Command::Help:
            session.out << usageText();
            return kExitOk;
        case Command::Version:
            session.out << versionCaption() << ", korvex-tools " KT_VERSION "\n";
            return kExitOk;
        case Command::Save:
            return saveReport(request.file, session);
        case Command::Text:
            return textReport(request.file, session);
        case Command::Invalid:
            session.err << kAppTitle << ": " << request.problem << "\n" << usageText();
            return kExitUsage;
        case Command::OpenWindow:
            break;
    }
    session.err << kAppTitle << " needs a display to open its window. Without one, " << kAppTitle
                << " --save writes the report (see " << kAppTitle << " --help).\n";
    return kExitFailed;
}

std::optional<int> runCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                  std::ostream& err) {
    const Request request = parseArguments(arguments);
    if (request.command == Command::OpenWindow && displayAvailable()) {
        return std::nullopt;
    }
    std::unique_ptr<PlatformReport> platform;
    auto services = [&platform]() -> PlatformReport& {
        if (!platform) {
            platform = std::make_unique<PlatformReport>();
        }
        return *platform;
    };
    Session session{out, err, [&](MessageSink& messages) { return services().build(messages); },
                    [&] { return services().defaultPath(); }};
    return run(request, session);
}

}  // namespace sysreport::cli
