// sysreport: writes the support report of this computer and its Korvex products.
#include <QApplication>
#include <iostream>

#include "CommandLine.h"
#include "MainWindow.h"
#include "QtBusyWait.h"
#include "QtPrompts.h"
#include "Version.h"

int main(int argc, char* argv[]) {
    // With arguments the report is written without a window, and without a
    // display nothing else can be done.
    if (const auto exitCode =
            sysreport::cli::runCommandLine({argv + 1, argv + argc}, std::cout, std::cerr)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(sysreport::kAppTitle);

    auto facts = sysreport::makePlatformSystemFacts();
    auto clock = sysreport::makePlatformClock();
    auto backend = sysreport::makePlatformRegistry();
    auto ini = sysreport::makeIniFileReader();
    auto cadHost = sysreport::makePlatformCadHost();
    sysreport::RegistryReader registry(*backend, *ini);
    sysreport::QtBusyWait busyWait;
    auto mail = sysreport::makePlatformMailClient(busyWait);
    auto systemInfo = sysreport::makePlatformSystemInfoTool();
    sysreport::QtPrompts prompts;
    prompts.setBusyWait(&busyWait);
    // The same places as the command line's, so both find the same report.
    const sysreport::ReportLocations locations = sysreport::platformReportLocations();

    sysreport::MainWindow window(
        {*facts, *clock, registry, *cadHost, prompts, *mail, *systemInfo, locations});
    prompts.setOwner(&window);
    window.show();
    return app.exec();
}
