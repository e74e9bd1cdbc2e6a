#include "SpreadsheetFile.h"

#include <freexl.h>

#include "WorkbookMessage.h"

namespace material {
namespace {

std::string notAWorkbook(const std::string& path) {
    return path + " is not an Excel 97-2003 workbook (.xls)";
}

std::string cannotOpen(const std::string& path) {
    return path + " cannot be opened";
}

std::string tooLarge(const std::string& path) {
    return path + " is too large to be read";
}

std::string openError(const std::string& path, int status) {
    switch (status) {
        case FREEXL_FILE_NOT_FOUND:
            return cannotOpen(path);
        case FREEXL_INSUFFICIENT_MEMORY:
            return tooLarge(path);
        default:
            return notAWorkbook(path);
    }
}

bool isObfuscated(const void* handle) {
    unsigned int password = 0;
    return freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
           password == FREEXL_BIFF_OBFUSCATED;
}

}  // namespace

std::unique_ptr<WorkbookCells> WorkbookCells::open(const std::string& path, std::string& error) {
    const void* handle = nullptr;
    const int status = freexl_open(path.c_str(), &handle);
    if (status != FREEXL_OK) {
        if (handle) {
            freexl_close(handle);
        }
        error = openError(path, status);
        return nullptr;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (isObfuscated(handle)) {
        error = path + " is protected by a password";
    } else if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
               freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
        error = path + " holds no worksheet";
    } else {
        return std::unique_ptr<WorkbookCells>(new WorkbookCells(handle, rows, columns));
    }
    freexl_close(handle);
    return nullptr;
}

WorkbookCells::WorkbookCells(const void* handle, std::uint32_t rows, std::uint32_t columns)
    : handle_(handle), rows_(rows), columns_(columns) {}

WorkbookCells::~WorkbookCells() {
    freexl_close(handle_);
}

SheetCell WorkbookCells::cell(std::uint32_t row, std::uint32_t column) const {
    // Cells outside the used range hold nothing.
    if (row == 0 || column == 0 || row > rows_ || column > columns_) {
        return {};
    }
    FreeXL_CellValue value{};
    if (freexl_get_cell_value(handle_, row - 1, static_cast<unsigned short>(column - 1), &value) !=
        FREEXL_OK) {
        return {SheetCell::Kind::Unreadable, 0.0, {}};
    }
    switch (value.type) {
        case FREEXL_CELL_NULL:
            return {};
        case FREEXL_CELL_INT:
            return {SheetCell::Kind::Number, static_cast<double>(value.value.int_value), {}};
        case FREEXL_CELL_DOUBLE:
            return {SheetCell::Kind::Number, value.value.double_value, {}};
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return {SheetCell::Kind::Text, 0.0,
                    value.value.text_value ? value.value.text_value : ""};
        default:
            return {SheetCell::Kind::Unreadable, 0.0, {}};
    }
}

std::string workbookMessage(const std::string& path) {
    std::string error;
    const auto cells = WorkbookCells::open(path, error);
    if (!cells) {
        return encodeErrorMessage(error);
    }
    return encodeSheetMessage(*cells, cells->columnCount());
}

SheetImport importChildReport(const std::string& path, const ChildReport& report,
                              const SheetNumberParser& parse) {
    switch (report.outcome) {
        case ChildReport::Outcome::Finished:
            break;
        case ChildReport::Outcome::TooLarge:
            return {{}, tooLarge(path)};
        case ChildReport::Outcome::NotStarted:
            return {{}, cannotOpen(path)};
        default:
            // A reader that crashed, hung or stopped part-way met a file it cannot read.
            return {{}, notAWorkbook(path)};
    }
    const auto message = decodeWorkbookMessage(report.bytes);
    if (!message) {
        return {{}, notAWorkbook(path)};
    }
    if (!message->sheet) {
        return {{}, message->error};
    }
    return importSheet(*message->sheet, parse);
}

SheetImport readSpreadsheet(const std::string& path, const SheetNumberParser& parse,
                            const ChildLimits& limits) {
    return importChildReport(path, readWorkbookInChild(path, limits), parse);
}

}  // namespace material
