#include "ReportFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "AnsiText.h"
#include "FilePaths.h"
#include "Version.h"

namespace sysreport {
namespace {

std::string reportPathIn(const std::string& folder) {
    // The folder is used as the platform gives it, separator added unconditionally.
    return folder + kPathSeparator + kReportFileName;
}

// A name for a new file beside `path` that no other write uses.
std::string scratchPathFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + ".~" + std::to_string(ticks) + "-" + std::to_string(++counter) + ".tmp";
}

// Writes `bytes` to a new file at `scratch`; on failure the file is gone again.
bool writeNewFile(const std::filesystem::path& scratch, const std::string& bytes,
                  std::string& error) {
    errno = 0;
    std::ofstream stream(scratch, std::ios::binary | std::ios::trunc);
    if (!stream) {
        error = errno != 0 ? std::strerror(errno) : "the file cannot be created";
        return false;
    }
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        error = "the file could not be written completely";
        std::error_code ignored;
        std::filesystem::remove(scratch, ignored);
        return false;
    }
    return true;
}

// True when the report can be written in `folder`: the check makes a new file
// there, as the writer does (an old report that would open for appending proves
// nothing), and leaves no trace behind.
bool canWriteReportIn(const std::string& folder) {
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(pathFromUtf8(folder), error)) {
        return false;
    }
    const auto scratch = pathFromUtf8(scratchPathFor(reportPathIn(folder)));
    std::string ignored;
    if (!writeNewFile(scratch, {}, ignored)) {
        return false;
    }
    std::filesystem::remove(scratch, error);
    return true;
}

}  // namespace

std::string resolveReportPath(const ReportLocations& locations) {
    const std::string* folders[] = {&locations.programFolder, &locations.documentsFolder,
                                    &locations.homeFolder, &locations.tempFolder};
    for (const std::string* folder : folders) {
        if (canWriteReportIn(*folder)) {
            return reportPathIn(*folder);
        }
    }
    for (const std::string* folder : folders) {
        if (!folder->empty()) {
            return reportPathIn(*folder);
        }
    }
    return reportPathIn(locations.programFolder);
}

std::string reportFolderOf(const std::string& reportPath) {
    const std::string tail = std::string(kPathSeparator) + kReportFileName;
    if (reportPath.size() >= tail.size() &&
        reportPath.compare(reportPath.size() - tail.size(), tail.size(), tail) == 0) {
        return reportPath.substr(0, reportPath.size() - tail.size());
    }
    return reportPath;
}

bool replaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    const auto file = pathFromUtf8(path);
    const auto scratch = pathFromUtf8(scratchPathFor(path));
    if (!writeNewFile(scratch, bytes, error)) {
        return false;
    }
    // Never append to an older report: the new file takes the old one's place.
    std::error_code renameError;
    std::filesystem::rename(scratch, file, renameError);
    if (renameError) {
        error = renameError.message();
        std::filesystem::remove(scratch, renameError);
        return false;
    }
    return true;
}

bool writeReportFile(const std::string& path, const std::string& utf8Text, std::string& error) {
    return replaceFile(path, toAnsiHtml(utf8Text), error);
}

ReportCommands::ReportCommands(ReportBuilder builder, UserPrompts& prompts,
                               ReportLocations locations)
    : builder_(std::move(builder)), prompts_(prompts), locations_(std::move(locations)) {}

std::string ReportCommands::writeToFile() {
    return writeTo(reportPath());
}

std::string ReportCommands::writeTo(const std::string& path) {
    std::string error;
    if (!writeReportFile(path, builder_(), error)) {
        prompts_.inform("The report could not be written to " + path + ": " + error, kAppTitle);
        return {};
    }
    return path;
}

void ReportCommands::viewSave() {
    const std::string path = reportPath();
    const bool view = prompts_.askYesNo(
        " Do you want to view the information?\r\n(Information will be automatically saved to " +
            path + " File.)",
        kViewSaveTitle);
    const std::string written = writeTo(path);
    if (written.empty()) {
        return;
    }
    if (view) {
        if (!prompts_.openFile(written)) {
            prompts_.inform(
                "The report could not be opened: no program for it is set up on "
                "this computer, or it could not be started.\r\nThe report is saved as " +
                    written + ".",
                kViewSaveTitle);
        }
    } else {
        prompts_.inform("Information written to " + written + " File. ", kViewSaveTitle);
    }
}

}  // namespace sysreport
