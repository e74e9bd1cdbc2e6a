#include "QtPrompts.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "Version.h"

namespace sysreport {

void QtPrompts::showMessage(const std::string& text) {
    inform(text, kAppTitle);
}

bool QtPrompts::askYesNo(const std::string& text, const std::string& title) {
    return QMessageBox::question(owner_, QString::fromStdString(title),
                                 QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void QtPrompts::inform(const std::string& text, const std::string& title) {
    QMessageBox::information(owner_, QString::fromStdString(title), QString::fromStdString(text),
                             QMessageBox::Ok);
}

void QtPrompts::openFile(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace sysreport
