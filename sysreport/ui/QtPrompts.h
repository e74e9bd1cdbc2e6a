// Message boxes and the shell, as the report commands ask for them.
#pragma once

#include <QWidget>

#include "ReportFile.h"

namespace sysreport {

class QtPrompts : public UserPrompts {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void inform(const std::string& text, const std::string& title) override;
    bool openFile(const std::string& path) override;

  private:
    QWidget* owner_ = nullptr;
};

}  // namespace sysreport
