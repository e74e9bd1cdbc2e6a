#include "QtPrompts.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QUrl>

#include "ShellOpen.h"
#include "Version.h"

namespace sysreport {
namespace {

// A Yes/No box that only its two buttons end: Escape and the window's close
// button are ignored (a plain box would take them as No).
class AnswerRequiredBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

void QtPrompts::showMessage(const std::string& text) {
    inform(text, kAppTitle);
}

bool QtPrompts::askYesNo(const std::string& text, const std::string& title) {
    AnswerRequiredBox box(QMessageBox::Question, QString::fromStdString(title),
                          QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::inform(const std::string& text, const std::string& title) {
    QMessageBox::information(owner_, QString::fromStdString(title), QString::fromStdString(text),
                             QMessageBox::Ok);
}

bool QtPrompts::openFile(const std::string& path) {
    if (wait_ != nullptr) {
        return openWithDesktop(path, *wait_);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace sysreport
