// sysreport: writes the support report of this computer and its Korvex products.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include "MainWindow.h"
#include "QtPrompts.h"
#include "Version.h"

namespace {

std::string nativePath(const QString& path) {
    return path.isEmpty() ? std::string() : QDir::toNativeSeparators(path).toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(sysreport::kAppTitle);

    auto facts = sysreport::makePlatformSystemFacts();
    auto clock = sysreport::makePlatformClock();
    auto backend = sysreport::makePlatformRegistry();
    auto ini = sysreport::makeIniFileReader();
    auto cadHost = sysreport::makePlatformCadHost();
    sysreport::RegistryReader registry(*backend, *ini);
    auto mail = sysreport::makePlatformMailClient();
    auto systemInfo = sysreport::makePlatformSystemInfoTool();
    sysreport::QtPrompts prompts;
    sysreport::ReportLocations locations{
        nativePath(QCoreApplication::applicationDirPath()),
        nativePath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
        nativePath(QDir::homePath())};

    sysreport::MainWindow window(
        {*facts, *clock, registry, *cadHost, prompts, *mail, *systemInfo, locations});
    prompts.setOwner(&window);
    window.show();
    return app.exec();
}
