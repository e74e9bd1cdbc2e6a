#include "DesktopHelpViewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QWidget>

namespace spdialog {

namespace {

// xdg-open ends with a non-zero code when the desktop has no handler; one still
// running after a moment has taken the file. The process belongs to the application,
// so that a handler still running is not ended with it.
bool handToDesktop(const QString& file) {
    auto* opener = new QProcess(QCoreApplication::instance());
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    QObject::connect(opener, &QProcess::errorOccurred, opener, &QObject::deleteLater);
    opener->start(QStringLiteral("xdg-open"), {file});
    if (!opener->waitForStarted(3000)) {
        return false;
    }
    return !opener->waitForFinished(3000) ||
           (opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0);
}

void tellInMessageBox(void* owner, const QString& text) {
    auto* parent = owner ? static_cast<QWidget*>(owner) : QApplication::activeWindow();
    QMessageBox::information(parent, QStringLiteral("studypurge"), text);
}

}  // namespace

DesktopHelpViewer::DesktopHelpViewer(Opener open, Teller tell, QString bookPage)
    : open_(open ? std::move(open) : Opener(handToDesktop)),
      tell_(tell ? std::move(tell) : Teller(tellInMessageBox)),
      bookPage_(bookPage.isEmpty() ? installedBookPage() : std::move(bookPage)) {}

bool DesktopHelpViewer::show(void* owner) {
    const QString found = findHelpFile();
    if (!found.isEmpty() && open_(found)) {
        return true;
    }
    tell_(
        owner,
        found.isEmpty()
            ? QStringLiteral("The help is not installed. The program looks for it in:\n%1")
                  .arg(bookPage_)
            : QStringLiteral("The help could not be opened. You will find it in:\n%1").arg(found));
    return false;
}

QString DesktopHelpViewer::installedBookPage() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/korvex-tools/help/studypurge/index.html"));
}

QString DesktopHelpViewer::findHelpFile() const {
    if (QFileInfo(bookPage_).isFile()) {
        return QFileInfo(bookPage_).absoluteFilePath();
    }
    const QString name = QStringLiteral("studypurge.chm");
    for (const QString& folder : {QCoreApplication::applicationDirPath(), QDir::currentPath()}) {
        const QFileInfo file(QDir(folder), name);
        if (file.isFile()) {
            return file.absoluteFilePath();
        }
    }
    return {};
}

}  // namespace spdialog
