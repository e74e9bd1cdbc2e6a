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
    // The shell's default action on a file (opens the report in the browser).
    virtual void openFile(const std::string& path) = 0;
};

// Candidate folders of the report, best first.
struct ReportLocations {
    std::string programFolder;
    std::string documentsFolder;
    std::string homeFolder;
};

// The report's full path: in the program's folder when the report can be written
// there, else in the documents folder, else in the home folder. When none can be
// written, the program's folder.
std::string resolveReportPath(const ReportLocations& locations);

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
