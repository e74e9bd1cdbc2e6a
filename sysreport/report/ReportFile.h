// Where the report file goes, how it is written, and the View/Save command.
#pragma once

#include <functional>
#include <string>

#include "SystemFacts.h"

namespace sysreport {

// The prompts and shell services the commands use; the UI shows real dialogs.
class UserPrompts : public MessageSink {
  public:
    // Yes/No question that cannot be dismissed without an answer; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    // Message with an OK button and the given title.
    virtual void inform(const std::string& text, const std::string& title) = 0;
    // The shell's default action on a file or folder (opens the report in the
    // browser); false when no program is set up for it or it cannot be started.
    virtual bool openFile(const std::string& path) = 0;
};

// Candidate folders of the report, best first.
struct ReportLocations {
    ReportLocations(std::string program = {}, std::string documents = {}, std::string home = {},
                    std::string temp = {})
        : programFolder(std::move(program)),
          documentsFolder(std::move(documents)),
          homeFolder(std::move(home)),
          tempFolder(std::move(temp)) {}

    std::string programFolder;
    std::string documentsFolder;
    std::string homeFolder;
    std::string tempFolder;  // the last resort
};

// The program's own folder, the user's documents, home and temporary folders.
ReportLocations platformReportLocations();

// Linux: whether a program's folder belongs to the system (under /usr, /bin, /sbin,
// /opt, /snap or /app), where an installed program's report must not go.
bool isSystemProgramFolder(const std::string& folder);

// The report's full path: in the program's folder when the report can be written
// there, else in the documents folder, else in the home folder, else in the
// temporary folder. When none can be written, the first folder named.
std::string resolveReportPath(const ReportLocations& locations);

// The folder part of a report path made by resolveReportPath.
std::string reportFolderOf(const std::string& reportPath);

// Replaces the file at `path` with `bytes`: they go to a new file beside it that
// then takes its place, so a failed write leaves the old file as it was. On
// failure returns false with a description in `error`.
bool replaceFile(const std::string& path, const std::string& bytes, std::string& error);

// Replaces the file at `path` with `utf8Text` converted to the single-byte code
// page. On failure returns false with a description in `error`.
bool writeReportFile(const std::string& path, const std::string& utf8Text, std::string& error);

// The report commands of the main window.
class ReportCommands {
  public:
    using ReportBuilder = std::function<std::string()>;

    ReportCommands(ReportBuilder builder, UserPrompts& prompts, ReportLocations locations);

    // Rebuilds the report file; returns the path used, or "" after telling the
    // user why it could not be written.
    std::string writeToFile();

    // Asks whether to view the report, writes it, then opens it or says where it is.
    void viewSave();

    // The path the next write will use.
    std::string reportPath() const { return resolveReportPath(locations_); }

  private:
    std::string writeTo(const std::string& path);

    ReportBuilder builder_;
    UserPrompts& prompts_;
    ReportLocations locations_;
};

inline constexpr const char* kViewSaveTitle = "View/Save to a File";

}  // namespace sysreport
