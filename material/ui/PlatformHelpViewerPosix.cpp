#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QString>

#include "DesktopHelpViewer.h"
#include "PlatformHelpViewer.h"

namespace material {

namespace {

// Starts the desktop's handler and waits briefly for its verdict: xdg-open ends with a
// non-zero code when no handler exists, and a handler still running is taken as shown.
// A missing xdg-open never starts.
bool openWithDesktop(const std::string& file) {
    // Owned by the application, so that a handler still running is not killed with it.
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
    process->start(QStringLiteral("xdg-open"), {QString::fromStdString(file)});
    if (!process->waitForStarted(3000)) {
        return false;
    }
    if (!process->waitForFinished(3000)) {
        return true;
    }
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

void tellInMessageBox(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Help"),
                             QString::fromStdString(text));
}

}  // namespace

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return std::make_unique<DesktopHelpViewer>(
        DesktopHelpViewer::bookPageFor(QCoreApplication::applicationDirPath().toStdString()),
        openWithDesktop, tellInMessageBox);
}

}  // namespace material
