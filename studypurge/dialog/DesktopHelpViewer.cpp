#include "DesktopHelpViewer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace spdialog {

bool DesktopHelpViewer::show(void*) {
    const QString path = findHelpFile();
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString DesktopHelpViewer::findHelpFile() {
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
