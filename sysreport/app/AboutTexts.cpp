#include "AboutTexts.h"

#include "Version.h"

namespace sysreport {

AboutTexts aboutTexts() {
    const std::string title = kAppTitle;
    AboutTexts texts;
    texts.caption = "About " + title;
    texts.title = title;
    texts.version = "Version " + std::to_string(kVersionMajor) + "." +
                    std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision) +
                    std::string(14, ' ') + kLegalNotice;
    texts.description = title +
                        " is a utility that retrieves information about the configuration of the "
                        "computer and about installed Korvex Products. ";
    texts.disclaimer = title + " created by Korvex Tech Support";
    // lblVersion keeps the program's own version; the suite's is a line of its own.
    texts.suite = "korvex-tools " KT_VERSION;
    return texts;
}

void startSystemInfo(SystemInfoTool& tool, MessageSink& messages) {
    if (!tool.start()) {
        messages.showMessage(kSystemInfoUnavailable);
    }
}

}  // namespace sysreport
