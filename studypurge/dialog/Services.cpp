#include "Services.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace spdialog {

QMessageBox::StandardButton QtMessageBoxes::show(QWidget* parent, const QString& text,
                                                 QMessageBox::StandardButtons buttons) {
    // A box with only an OK button carries the exclamation icon.
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, buttons,
                    parent);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> QtFileChooser::openFile(QWidget* parent, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

}  // namespace spdialog
