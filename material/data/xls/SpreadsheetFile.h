#pragma once
// Reading materials from an Excel 97-2003 workbook (.xls) file through FreeXL.

#include <memory>
#include <string>

#include "ReaderProcess.h"
#include "SheetImport.h"

namespace material {

// The first worksheet of an open workbook file.
class WorkbookCells : public SheetCellSource {
  public:
    // Opens `path` (UTF-8); null with `error` set when it cannot be read as a workbook.
    static std::unique_ptr<WorkbookCells> open(const std::string& path, std::string& error);
    ~WorkbookCells() override;
    WorkbookCells(const WorkbookCells&) = delete;
    WorkbookCells& operator=(const WorkbookCells&) = delete;

    std::uint32_t rowCount() const override { return rows_; }
    std::uint32_t columnCount() const { return columns_; }
    SheetCell cell(std::uint32_t row, std::uint32_t column) const override;

  private:
    WorkbookCells(const void* handle, std::uint32_t rows, std::uint32_t columns);

    const void* handle_;
    std::uint32_t rows_;
    std::uint32_t columns_;
};

// Imports the materials of the workbook at `path`; an error names the file when it
// cannot be read and the row when the sheet breaks a limit. The file is read in a process
// of its own, so that a workbook that makes the reader crash or hang is reported as not a
// workbook instead of taking the program down.
SheetImport readSpreadsheet(const std::string& path,
                            const SheetNumberParser& parse = parsePlainNumber,
                            const ChildLimits& limits = {});

// The message the reading process sends for the workbook at `path`: its first sheet's
// cells, or why it cannot be read.
std::string workbookMessage(const std::string& path);

// Imports what the process that read the workbook at `path` sent, or says why nothing
// can be imported: a process that crashed, hung or sent a garbled message met a file
// that is not a workbook.
SheetImport importChildReport(const std::string& path, const ChildReport& report,
                              const SheetNumberParser& parse = parsePlainNumber);

}  // namespace material
