// frmAbout: the modal about box of sysreport.
#pragma once

#include <QDialog>

#include "SystemFacts.h"
#include "SystemInfoTool.h"

namespace sysreport {

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    // `messages` shows the message when the system information tool is missing.
    AboutBox(SystemInfoTool& systemInfo, MessageSink& messages, QWidget* parent = nullptr);

  private slots:
    void cmdSysInfo_Click();

  private:
    SystemInfoTool& systemInfo_;
    MessageSink& messages_;
};

}  // namespace sysreport
