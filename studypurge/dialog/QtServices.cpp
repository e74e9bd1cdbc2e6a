#include "QtServices.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "QtStrings.h"

namespace spdialog {

void QtMessageBoxes::show(void* owner, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, static_cast<QWidget*>(owner));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<std::string> QtFileChooser::openFile(void* owner, const std::string& filter) {
    const QString path =
        QFileDialog::getOpenFileName(static_cast<QWidget*>(owner), QString(), QString(),
                                     qtFilterFromPairs(QString::fromStdString(filter)));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

}  // namespace spdialog
