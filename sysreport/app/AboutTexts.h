// frmAbout's texts and its System Info command.
#pragma once

#include <string>

#include "SystemFacts.h"
#include "SystemInfoTool.h"

namespace sysreport {

struct AboutTexts {
    std::string caption;      // "About sysreport"
    std::string title;        // lblTitle
    std::string version;      // lblVersion: version, fourteen blanks, legal notice
    std::string description;  // lblDescription
    std::string disclaimer;   // lblDisclaimer
    std::string suite;        // the suite's name and version, under lblVersion
};

AboutTexts aboutTexts();

// StartSysInfo: starts the system information tool, or says it is unavailable.
void startSystemInfo(SystemInfoTool& tool, MessageSink& messages);

}  // namespace sysreport
