#pragma once
// The dialog's prompts and choosers, behind interfaces so that tests can answer them.

#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

namespace spdialog {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    // A modal message box captioned with the program's name; returns the button used.
    virtual QMessageBox::StandardButton show(
        QWidget* parent, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
};

class QtMessageBoxes : public MessageBoxes {
  public:
    QMessageBox::StandardButton show(QWidget* parent, const QString& text,
                                     QMessageBox::StandardButtons buttons) override;
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;

    // The open-file dialog; the chosen full path, or nullopt when cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& filter) = 0;
};

class QtFileChooser : public FileChooser {
  public:
    std::optional<QString> openFile(QWidget* parent, const QString& filter) override;
};

}  // namespace spdialog
