// The report's candidate folders on Linux.
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "FilePaths.h"
#include "ReportFile.h"

namespace sysreport {
namespace {

std::string environmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

// The program's own folder, unless it is one of the system's: an installed program
// never writes its report among the system's programs, whoever runs it.
std::string programFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const std::string folder = pathToUtf8(executable.parent_path());
    return isSystemProgramFolder(folder) ? std::string() : folder;
}

// XDG_DOCUMENTS_DIR of the user's folder settings ("$HOME/Documents" style),
// else ~/Documents.
std::string documentsFolder(const std::string& home) {
    const std::string config = environmentOr("XDG_CONFIG_HOME", home + "/.config");
    std::ifstream settings(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    while (std::getline(settings, line)) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') {
            continue;
        }
        std::string folder = line.substr(key.size(), line.size() - key.size() - 1);
        if (folder.rfind("$HOME", 0) == 0) {
            folder = home + folder.substr(5);
        }
        return folder;
    }
    return home.empty() ? std::string() : home + "/Documents";
}

}  // namespace

bool isSystemProgramFolder(const std::string& folder) {
    for (const char* system : {"/usr", "/bin", "/sbin", "/opt", "/snap", "/app"}) {
        const std::string prefix = system;
        if (folder == prefix || folder.rfind(prefix + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

ReportLocations platformReportLocations() {
    const std::string home = environmentOr("HOME", {});
    std::string temp = environmentOr("TMPDIR", "/tmp");
    while (temp.size() > 1 && temp.back() == '/') {
        temp.pop_back();
    }
    return {programFolder(), documentsFolder(home), home, temp};
}

}  // namespace sysreport
