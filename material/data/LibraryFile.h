#pragma once
// Reading and writing material library files: plain single-byte text with CR LF line
// ends, categories of materials with fixed-column property lines in three systems.
//
// Opening a library: ReadLibraryFile, then, when accepted, take over outcome.content
// (materials, twins and entries at the same positions); when refused, show
// outcome.message. Saving: NumberCategories over the material list, then
// WriteLibraryWithRetry with the user's Retry/Cancel prompt. Neither touches the
// library in memory except for Save's filling in of empty material codes.

#include <string>
#include <string_view>
#include <vector>

#include "Library.h"
#include "LibraryFileSystem.h"
#include "NumberParser.h"

namespace material {

inline constexpr std::string_view kNotALibraryMessage =
    "This file is not a Korvex/M material library file!";
inline constexpr std::string_view kTooManyMaterialsMessage =
    "This library holds more than 1001 materials; the browser can open at most 1001. "
    "Nothing of it was taken over.";

struct ReadOutcome {
    bool accepted = false;
    std::string message;  // why the file was refused; empty when accepted
    LibraryContent content;
    // Property lines whose SI value could not be read, by line number from 1: repaired
    // from the line's IPS or MKS value, or passed over (the property has no value).
    std::vector<std::size_t> repairedLines;
    std::vector<std::size_t> passedOverLines;

    // What to tell the user once about the lines above; empty for a clean file.
    std::string RepairMessage() const;
};

// Reads the text of a library file (CR LF or LF line ends). The SI column is the only
// number read. On refusal the content is empty. New records get `host` (may be null).
ReadOutcome ReadLibraryText(std::string_view text, const NumberParser& numbers,
                            MaterialHost* host = nullptr);
// Loads `path` through `files`, then as ReadLibraryText.
ReadOutcome ReadLibraryFile(const std::string& path, const NumberParser& numbers,
                            LibraryFileSystem& files, MaterialHost* host = nullptr);

// Categories numbered for writing: every material's category (compared without regard
// to case and surrounding blanks) gets the number of its first appearance, from 1.
struct CategoryNumbering {
    std::vector<std::string> names;  // names[n - 1]: trimmed text of category n
    std::vector<int> numbers;        // per material position
};
CategoryNumbering NumberCategories(const std::vector<clsMaterial>& materials);

// The whole text of a library file. Materials may get their code filled in (see Save).
std::string FormatLibrary(std::vector<clsMaterial>& materials, const CategoryNumbering& numbering);

struct WriteOutcome {
    bool written = false;
    FileError error;  // meaningful when not written
};

// Writes the library to `path` safely: the new text goes to a temporary file in the
// same folder, which then replaces the old file. On failure the old file is untouched
// and the temporary file removed. An empty path writes nothing and fails.
WriteOutcome WriteLibrary(const std::string& path, std::vector<clsMaterial>& materials,
                          const CategoryNumbering& numbering, LibraryFileSystem& files);

// Asks the user what to do about a failed write.
class SaveErrorPrompt {
  public:
    enum class Choice { Retry, Cancel };
    virtual ~SaveErrorPrompt() = default;
    // A message box with the buttons Retry and Cancel showing `message`.
    virtual Choice AskRetryCancel(const std::string& message) = 0;
};

// WriteLibrary until it succeeds or the user cancels; Retry repeats the whole write,
// Cancel abandons this save only (the library in memory is unchanged).
WriteOutcome WriteLibraryWithRetry(const std::string& path, std::vector<clsMaterial>& materials,
                                   const CategoryNumbering& numbering, LibraryFileSystem& files,
                                   SaveErrorPrompt& prompt);

}  // namespace material
