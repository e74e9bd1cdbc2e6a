#pragma once
// The first sheet of a workbook, or why it cannot be read, as bytes: the process that
// reads a workbook file sends them, the process that imports the materials decodes them.
// Decoding treats the bytes as hostile, since the sender may have been led astray by
// the file it read.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "SheetImport.h"

namespace material {

// The import reads columns 1 and 2 of rows 1 to kMaxSheetRows; only those cells are
// sent.
inline constexpr std::uint32_t kSentSheetColumns = 2;
// A cell text is at most 32767 characters in a workbook; longer is a garbled message.
inline constexpr std::size_t kMaxSentTextBytes = 4 * 32767;

// Cells held in memory: those a message carried, every other cell empty.
class SheetCells : public SheetCellSource {
  public:
    SheetCells(std::uint32_t rows, std::uint32_t columns) : rows_(rows), columns_(columns) {}

    std::uint32_t rowCount() const override { return rows_; }
    std::uint32_t columnCount() const { return columns_; }
    SheetCell cell(std::uint32_t row, std::uint32_t column) const override;

    // False when the cell lies outside the sheet or not after the last cell set (cells
    // come row by row, column by column).
    bool append(std::uint32_t row, std::uint32_t column, SheetCell cell);

  private:
    std::uint32_t rows_;
    std::uint32_t columns_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, SheetCell> cells_;
};

// The cells the import reads from `cells`, a sheet of `columns` columns.
std::string encodeSheetMessage(const SheetCellSource& cells, std::uint32_t columns);
// Why the workbook cannot be read, as the user is told.
std::string encodeErrorMessage(std::string_view error);

// What a message says: the sheet's cells, or the error text.
struct WorkbookMessage {
    std::unique_ptr<SheetCells> sheet;  // null for an error
    std::string error;                  // empty for a sheet
};

// Empty when `bytes` are not exactly one whole, well-formed message.
std::optional<WorkbookMessage> decodeWorkbookMessage(std::string_view bytes);

}  // namespace material
