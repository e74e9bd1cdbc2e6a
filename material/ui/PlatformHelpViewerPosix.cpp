#include "PlatformHelpViewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QString>

namespace material {

namespace {

// The browser's help is an HTML book in the installed layout, which the build tree
// repeats: <prefix>/bin/material and <prefix>/share/korvex-tools/help/material.
QString helpBookPage() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/korvex-tools/help/material/index.html"));
}

// Starts the desktop's handler and waits briefly for its verdict: xdg-open ends with a
// non-zero code when no handler exists, and a handler still running is taken as shown.
bool openWithDesktop(const QString& file) {
    // Owned by the application, so that a handler still running is not killed with it.
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
    process->start(QStringLiteral("xdg-open"), {file});
    if (!process->waitForStarted(3000)) {
        return false;
    }
    if (!process->waitForFinished(3000)) {
        return true;
    }
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

// Where the help really is, since nothing here could show it.
void sayWhereTheHelpIs(const QString& file) {
    const QString text =
        QFileInfo(file).isFile()
            ? QStringLiteral("The help could not be opened. You will find it in:\n%1").arg(file)
            : QStringLiteral("The help is not installed. The program looks for it in:\n%1")
                  .arg(file);
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Help"), text);
}

// Linux has no compiled-help viewer: the HTML book is opened in the desktop's browser
// instead; a compiled help file at the given path is still tried when no book is there.
class DesktopHelpViewer final : public HelpViewer {
  public:
    void displayHelpFile(const std::string& path) override {
        QString file = helpBookPage();
        const QString compiled = QString::fromStdString(path);
        if (!QFileInfo(file).isFile() && QFileInfo(compiled).isFile()) {
            file = compiled;
        }
        if (!QFileInfo(file).isFile() || !openWithDesktop(file)) {
            sayWhereTheHelpIs(file);
        }
    }
};

}  // namespace

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return std::make_unique<DesktopHelpViewer>();
}

}  // namespace material
