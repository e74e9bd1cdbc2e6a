#include "LibraryFile.h"

#include <algorithm>

#include "Text.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kSiColumn = 68;  // the SI value is read from here on
constexpr std::size_t kIpsColumn = 11;
constexpr std::size_t kMksColumn = 40;
constexpr std::size_t kSiFieldColumn = 71;
constexpr std::size_t kValueFieldWidth = 11;
constexpr std::size_t kEntryValueCount = 11;
constexpr std::size_t kWriteChunk = 1 << 16;

// Calls `fn` with each line of `text`, without its CR LF or LF.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!fn(line)) {
            return;
        }
        if (end == std::string_view::npos) {
            return;
        }
        text.remove_prefix(end + 1);
    }
}

class LibraryReader {
  public:
    LibraryReader(const NumberParser& numbers, MaterialHost* host)
        : numbers_(numbers), host_(host) {}

    ReadOutcome Read(std::string_view text) {
        ForEachLine(text, [this](std::string_view line) { return ReadLine(line); });
        if (!refusal_.empty()) {
            ReadOutcome refused;
            refused.message = refusal_;
            return refused;
        }
        ReadOutcome outcome;
        outcome.accepted = true;
        outcome.content = std::move(content_);
        outcome.repairedLines = std::move(repairedLines_);
        outcome.passedOverLines = std::move(passedOverLines_);
        return outcome;
    }

  private:
    bool ReadLine(std::string_view line) {
        ++lineNumber_;
        if (lineNumber_ == 1 && !text::StartsWithNoCase(line, "MATTYPE")) {
            refusal_ = kNotALibraryMessage;
            return false;
        }
        if (text::StartsWithNoCase(line, "MATTYPE")) {
            ReadCategory(line);
        } else if (text::StartsWithNoCase(line, "MATL")) {
            return ReadMaterialHeader(line);
        } else if (!text::StartsWithNoCase(line, "ENDMATL")) {
            ReadPropertyLine(line);
        }
        return true;
    }

    void ReadCategory(std::string_view line) {
        const std::string_view trimmed = text::TrimRight(line);
        category_ = trimmed.size() > 8 ? trimmed.substr(8) : std::string_view{};
        if (category_.empty()) {
            category_ = "No Category";
        }
    }

    bool ReadMaterialHeader(std::string_view line) {
        if (content_.materials.size() >= static_cast<std::size_t>(kLibraryCapacity)) {
            refusal_ = kTooManyMaterialsMessage;
            return false;
        }
        MaterialEntry entry;
        entry.categoryKey = category_ + "    ";
        entry.code = text::Columns(line, 6, 13);
        entry.nameText = std::string(text::Trim(text::Columns(line, 20, 31))) + "  ";
        entry.description = text::Columns(line, 52, 50);

        clsMaterial& material = content_.materials.emplace_back(host_);
        material.setMaterialType(entry.categoryKey);
        material.setMaterialName(entry.nameText);
        material.setMaterialNameCode(entry.code);
        material.setMaterialDescription(entry.description);
        content_.twins.emplace_back(host_).Copy(material);
        content_.entries.push_back(std::move(entry));
        propertyLines_ = 0;
        return true;
    }

    void ReadPropertyLine(std::string_view line) {
        if (content_.materials.empty()) {
            return;  // nothing to store into before the first material
        }
        const std::string_view code = line.substr(0, line.find(' '));
        if (code.empty()) {
            return;  // an empty line or one that starts with a blank carries no code
        }
        clsMaterial& material = content_.materials.back();
        material.setProperty(code);
        // A code that names no slot (the category end among them) stores nothing in the
        // records; its number still counts among the entry's values.
        const std::optional<double> value =
            material.Index() == kNoSlot
                ? numbers_.Parse(text::Columns(line, kSiColumn, std::string_view::npos))
                : PropertyValue(line, material.Index());
        if (!value) {
            return;
        }
        material.setValue(*value);
        content_.twins.back().CopyProperty(code, *value);
        if (propertyLines_ < kEntryValueCount) {
            content_.entries.back().values[propertyLines_++] = *value;
        }
    }

    // The SI value of a property line. An SI field that cannot be read is repaired from
    // the IPS field, else the MKS field, converted; with none readable the property has
    // no value. Either way the line is noted for the user.
    std::optional<double> PropertyValue(std::string_view line, PropertySlot slot) {
        if (const auto si = FieldValue(text::Columns(line, kSiColumn, std::string_view::npos))) {
            return si;
        }
        // A number that fills its whole field runs into the unit label after it.
        if (text::Columns(line, kSiFieldColumn - 1, 1) == " ") {
            if (const auto si = FieldValue(text::Columns(line, kSiFieldColumn, kValueFieldWidth))) {
                return si;
            }
        }
        const std::pair<std::size_t, std::string_view> others[] = {{kIpsColumn, kIps},
                                                                   {kMksColumn, kMks}};
        for (const auto& [column, system] : others) {
            if (const auto v = FieldValue(text::Columns(line, column, kValueFieldWidth))) {
                repairedLines_.push_back(lineNumber_);
                return converter_.ChangeUnits(system, kSi, slot, *v);
            }
        }
        passedOverLines_.push_back(lineNumber_);
        return std::nullopt;
    }

    // The number that a value field begins with (blanks before it skipped, the unit
    // label after it ignored); empty unless it is one whole finite number.
    std::optional<double> FieldValue(std::string_view field) const {
        const auto first = field.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            return std::nullopt;
        }
        field.remove_prefix(first);
        return numbers_.ParseEntry(field.substr(0, field.find(' ')));
    }

    const NumberParser& numbers_;
    MaterialHost* host_;
    LibraryContent content_;
    std::string category_;
    std::string refusal_;
    std::size_t lineNumber_ = 0;
    std::size_t propertyLines_ = 0;
    clsUnitConversion converter_;
    std::vector<std::size_t> repairedLines_;
    std::vector<std::size_t> passedOverLines_;
};

// Produces the library text in pieces of about kWriteChunk bytes.
template <typename Sink>
bool FormatInChunks(std::vector<clsMaterial>& materials, const CategoryNumbering& numbering,
                    Sink&& sink) {
    std::string buffer;
    buffer.reserve(kWriteChunk + 16384);
    if (numbering.names.empty()) {
        // A library without materials: the first line alone, which reads back as an
        // empty library.
        buffer += "MATTYPE:";
        buffer += kLineEnd;
    }
    for (std::size_t c = 1; c <= numbering.names.size(); ++c) {
        buffer += "MATTYPE:";
        buffer += numbering.names[c - 1];
        buffer += kLineEnd;
        for (std::size_t m = 0; m < materials.size() && m < numbering.numbers.size(); ++m) {
            if (numbering.numbers[m] != static_cast<int>(c)) {
                continue;
            }
            materials[m].Save(buffer);
            if (buffer.size() >= kWriteChunk) {
                if (!sink(std::string_view(buffer))) {
                    return false;
                }
                buffer.clear();
            }
        }
        buffer += "ENDTYPE";
        buffer += kLineEnd;
    }
    return buffer.empty() || sink(std::string_view(buffer));
}

WriteOutcome Failed(FileError error) {
    WriteOutcome outcome;
    outcome.error = std::move(error);
    return outcome;
}

}  // namespace

std::string FileError::Message() const {
    switch (kind) {
        case FileErrorKind::FileExists:
            return "File already exists.";
        case FileErrorKind::TooManyFiles:
            return "Too many files at the same time.";
        case FileErrorKind::DeviceUnavailable:
            return "Device unavailable.";
        case FileErrorKind::PermissionDenied:
            return "Permssion denied (write-protect).";
        case FileErrorKind::DiskNotReady:
            return "Disk not ready.";
        case FileErrorKind::PathFileAccess:
            return "Path - File access error.";
        case FileErrorKind::PathNotFound:
            return "Path not found.";
        case FileErrorKind::None:
        case FileErrorKind::Other:
            break;
    }
    return description;
}

ReadOutcome ReadLibraryText(std::string_view text, const NumberParser& numbers,
                            MaterialHost* host) {
    return LibraryReader(numbers, host).Read(text);
}

ReadOutcome ReadLibraryFile(const std::string& path, const NumberParser& numbers,
                            LibraryFileSystem& files, MaterialHost* host) {
    std::string bytes;
    FileError error;
    if (!files.ReadAll(path, bytes, error)) {
        ReadOutcome outcome;
        outcome.message = error.Message();
        return outcome;
    }
    return ReadLibraryText(bytes, numbers, host);
}

std::string ReadOutcome::RepairMessage() const {
    constexpr std::size_t kLinesNamed = 5;
    std::vector<std::size_t> lines = repairedLines;
    lines.insert(lines.end(), passedOverLines.begin(), passedOverLines.end());
    if (lines.empty()) {
        return {};
    }
    std::sort(lines.begin(), lines.end());
    std::string named;
    for (std::size_t i = 0; i < lines.size() && i < kLinesNamed; ++i) {
        named += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    }
    if (lines.size() > kLinesNamed) {
        named += ", ...";
    }
    const bool one = lines.size() == 1;
    return std::to_string(lines.size()) + (one ? " value" : " values") +
           " of this library could not be read in the SI column (" + (one ? "line " : "lines ") +
           named +
           "). Each was taken from its IPS or MKS column where that could be read, "
           "else the property was left without a value.";
}

CategoryNumbering NumberCategories(const std::vector<clsMaterial>& materials) {
    CategoryNumbering numbering;
    numbering.numbers.assign(materials.size(), 0);
    for (std::size_t m = 0; m < materials.size(); ++m) {
        if (numbering.numbers[m] != 0) {
            continue;
        }
        const std::string_view name = text::Trim(materials[m].MaterialType());
        numbering.names.emplace_back(name);
        const int number = static_cast<int>(numbering.names.size());
        for (std::size_t later = m; later < materials.size(); ++later) {
            if (numbering.numbers[later] == 0 &&
                text::EqualNoCase(text::Trim(materials[later].MaterialType()), name)) {
                numbering.numbers[later] = number;
            }
        }
    }
    return numbering;
}

std::string FormatLibrary(std::vector<clsMaterial>& materials, const CategoryNumbering& numbering) {
    std::string text;
    FormatInChunks(materials, numbering, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

WriteOutcome WriteLibrary(const std::string& path, std::vector<clsMaterial>& materials,
                          const CategoryNumbering& numbering, LibraryFileSystem& files) {
    if (path.empty()) {
        return Failed({FileErrorKind::PathNotFound, "No file name."});
    }
    std::string tempPath;
    FileError error;
    std::unique_ptr<OutputFile> out = files.CreateTemporaryBeside(path, tempPath, error);
    if (!out) {
        return Failed(error);
    }
    const bool complete = FormatInChunks(
        materials, numbering, [&](std::string_view piece) { return out->Write(piece, error); });
    if (!complete || !out->Commit(error)) {
        out.reset();
        files.Remove(tempPath);
        return Failed(error);
    }
    out.reset();
    if (!files.Replace(tempPath, path, error)) {
        files.Remove(tempPath);
        return Failed(error);
    }
    WriteOutcome outcome;
    outcome.written = true;
    return outcome;
}

WriteOutcome WriteLibraryWithRetry(const std::string& path, std::vector<clsMaterial>& materials,
                                   const CategoryNumbering& numbering, LibraryFileSystem& files,
                                   SaveErrorPrompt& prompt) {
    for (;;) {
        WriteOutcome outcome = WriteLibrary(path, materials, numbering, files);
        if (outcome.written ||
            prompt.AskRetryCancel(outcome.error.Message()) == SaveErrorPrompt::Choice::Cancel) {
            return outcome;
        }
    }
}

}  // namespace material
