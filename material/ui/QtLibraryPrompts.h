// The library's questions to the user, asked with the toolkit's message boxes and file
// dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "data/library/LibraryPrompts.h"

namespace material {

// A "description|pattern|description|pattern" filter in the dialog's own form: one
// entry per pair, each ending in its patterns in parentheses, several patterns
// separated by blanks.
QStringList dialogNameFilters(std::string_view filter);

class QtLibraryPrompts final : public LibraryPrompts {
  public:
    MessageAnswer Message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;

  private:
    std::optional<std::string> AskForFile(const FileDialogRequest& request, bool forSaving);
};

}  // namespace material
