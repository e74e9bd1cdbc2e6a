// Message boxes and the shell, as the report commands ask for them.
#pragma once

#include <QWidget>

#include "BusyWait.h"
#include "ReportFile.h"

namespace sysreport {

class QtPrompts : public UserPrompts {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    // Waits while the desktop opens a file; without one the toolkit opens it.
    void setBusyWait(BusyWait* wait) { wait_ = wait; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void inform(const std::string& text, const std::string& title) override;
    bool openFile(const std::string& path) override;

  private:
    QWidget* owner_ = nullptr;
    BusyWait* wait_ = nullptr;
};

}  // namespace sysreport
