#pragma once
// Materials taken from the first sheet of a spreadsheet workbook. Column 1 of each row
// holds "Name" (column 2: the material name), "Type" (column 2: its category), "End"
// (the data ends) or one value of the current material.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace material {

// Limits of a sheet: rows are counted in 16 bits, materials fill the library's 1001
// entries, and each material holds up to eleven values.
inline constexpr std::uint32_t kMaxSheetRows = 32767;
inline constexpr std::size_t kMaxSheetMaterials = 1001;
inline constexpr std::size_t kMaxSheetValues = 11;
// A library file holds 30 characters of a name and 25 of a category.
inline constexpr std::size_t kMaxImportedNameLength = 30;
inline constexpr std::size_t kMaxImportedCategoryLength = 25;

struct SheetCell {
    enum class Kind { Empty, Number, Text, Unreadable };
    Kind kind = Kind::Empty;
    double number = 0.0;  // for Number
    std::string text;     // for Text (UTF-8)
};

// The cells of a workbook's first sheet.
class SheetCellSource {
  public:
    virtual ~SheetCellSource() = default;
    // Number of rows the sheet uses; rows below them hold nothing.
    virtual std::uint32_t rowCount() const = 0;
    // The cell at a row and column counted from 1.
    virtual SheetCell cell(std::uint32_t row, std::uint32_t column) const = 0;
};

// Turns a text cell into a number; empty when the text is not one.
using SheetNumberParser = std::function<std::optional<double>(std::string_view)>;

// The whole text, blanks around it removed, as one number with "." as decimal point
// and an optional exponent; empty otherwise.
std::optional<double> parsePlainNumber(std::string_view text);

// Texts are single-byte Windows-1252, like every text of the library.
struct ImportedMaterial {
    std::string nameText;        // column 2 of the "Name" row, unchanged
    std::string categoryKey;     // column 2 of the "Type" row, unchanged; empty without one
    std::vector<double> values;  // column 1 of the value rows, in row order (at most 11)
};

struct SheetImport {
    std::vector<ImportedMaterial> materials;  // in sheet order; position 0 first
    // Empty on success; otherwise the row and the reason, for example "Row 7: more than
    // eleven values for material Steel", and `materials` is empty.
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads rows from row 1 down until the "End" row. "Name" and "Type" are recognised with
// blanks around them and in any letter case, "End" in any letter case but only without
// blanks. Empty cells in column 1 are values of 0; text cells must read as numbers
// through `parse`.
SheetImport importSheet(const SheetCellSource& cells,
                        const SheetNumberParser& parse = parsePlainNumber);

// Whether a chosen file is read as a workbook: its name ends in "xls" in any letter case.
bool isSpreadsheetFileName(std::string_view path);

}  // namespace material
