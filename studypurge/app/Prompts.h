#pragma once
// The dialog's prompts and choosers, behind interfaces so that tests can answer them.
// Each front end implements them with its own toolkit; `owner` is the window the
// front end names as the owner of the prompt (a QWidget* or an HWND).

#include <optional>
#include <string>

namespace spapp {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    // A modal message box captioned with the program's name, with an OK button and
    // the exclamation icon. `text` is UTF-8.
    virtual void show(void* owner, const std::string& text) = 0;
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;

    // The open-file dialog for an existing file, offering the "description|patterns|
    // ...||" filter, with no default extension, no initial name and no read-only box.
    // The chosen full path (UTF-8), or nullopt when cancelled.
    virtual std::optional<std::string> openFile(void* owner, const std::string& filter) = 0;
};

}  // namespace spapp
