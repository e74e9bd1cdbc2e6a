#pragma once
// Qt implementations of the dialog's prompts and choosers. The owner a prompt is
// given is the QWidget* of the dialog.

#include "Prompts.h"

namespace spdialog {

class QtMessageBoxes : public spapp::MessageBoxes {
  public:
    void show(void* owner, const std::string& text) override;
};

class QtFileChooser : public spapp::FileChooser {
  public:
    std::optional<std::string> openFile(void* owner, const std::string& filter) override;
};

}  // namespace spdialog
