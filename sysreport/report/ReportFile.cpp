#include "ReportFile.h"

#include <cerrno>
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

// True when the report file can be created or replaced in `folder`; leaves no
// trace behind.
bool canWriteReportIn(const std::string& folder) {
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(pathFromUtf8(folder), error)) {
        return false;
    }
    const auto path = pathFromUtf8(reportPathIn(folder));
    const bool existed = std::filesystem::exists(path, error);
    {
        std::ofstream probe(path, std::ios::binary | std::ios::app);
        if (!probe) {
            return false;
        }
    }
    if (!existed) {
        std::filesystem::remove(path, error);
    }
    return true;
}

}  // namespace

std::string resolveReportPath(const ReportLocations& locations) {
    for (const std::string* folder :
         {&locations.programFolder, &locations.documentsFolder, &locations.homeFolder}) {
        if (canWriteReportIn(*folder)) {
            return reportPathIn(*folder);
        }
    }
    return reportPathIn(locations.programFolder);
}

bool writeReportFile(const std::string& path, const std::string& utf8Text, std::string& error) {
    const auto file = pathFromUtf8(path);
    std::error_code removeError;
    // Never append to an older report: the old file goes first.
    if (std::filesystem::exists(file, removeError) && !std::filesystem::remove(file, removeError)) {
        error = removeError.message();
        return false;
    }
    errno = 0;
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    if (!stream) {
        error = errno != 0 ? std::strerror(errno) : "the file cannot be created";
        return false;
    }
    const std::string bytes = toAnsi(utf8Text);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        error = "the file could not be written completely";
        return false;
    }
    return true;
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
        prompts_.openFile(written);
    } else {
        prompts_.inform("Information written to " + written + " File. ", kViewSaveTitle);
    }
}

}  // namespace sysreport
