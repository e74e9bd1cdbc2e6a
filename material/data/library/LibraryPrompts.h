#pragma once
// Everything the library operations ask of the user: message boxes and the file
// dialogs. The browser implements it with its toolkit; tests with scripted fakes.

#include <optional>
#include <string>

namespace material {

enum class MessageButtons { Ok, YesNo, YesNoCancel, RetryCancel, OkCancel };
enum class MessageIcon { None, Question, Exclamation, Critical, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel, Retry };

// A platform file dialog. The filter is a list of "description|pattern" pairs joined
// with "|", e.g. "Library Files (*.lib)|*.lib|All Files  (*.*)|*.*".
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultSuffix;     // appended when the user types a name without one
    bool fileMustExist = false;    // open: only existing files are accepted
    bool hideReadOnly = false;     // no "open as read-only" box
    bool overwritePrompt = false;  // save: ask before replacing an existing file
};

class LibraryPrompts {
  public:
    virtual ~LibraryPrompts() = default;
    // A modal message box; closing it without a button counts as Cancel (No for a box
    // without Cancel, Ok for a box with OK alone).
    virtual MessageAnswer Message(const std::string& text, MessageButtons buttons,
                                  MessageIcon icon) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace material
