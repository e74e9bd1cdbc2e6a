// The sheet message between the process that reads a workbook and the one that imports
// it: what is sent arrives unchanged, and anything but one whole message is refused.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "data/xls/WorkbookMessage.h"

namespace material {
namespace {

using Kind = SheetCell::Kind;
using Cells = std::map<std::pair<std::uint32_t, std::uint32_t>, SheetCell>;

class MapSheet : public SheetCellSource {
  public:
    MapSheet(std::uint32_t rows, Cells cells) : rows_(rows), cells_(std::move(cells)) {}
    std::uint32_t rowCount() const override { return rows_; }
    SheetCell cell(std::uint32_t row, std::uint32_t column) const override {
        const auto found = cells_.find({row, column});
        return found == cells_.end() ? SheetCell{} : found->second;
    }

  private:
    std::uint32_t rows_;
    Cells cells_;
};

const MapSheet& sampleSheet() {
    static const MapSheet sheet(6, {{{1, 1}, {Kind::Text, 0.0, " name "}},
                                    {{1, 2}, {Kind::Text, 0.0, "Stahl \xC3\x84"}},
                                    {{2, 2}, {Kind::Number, -1.5e-300, {}}},
                                    {{3, 1}, {Kind::Unreadable, 0.0, {}}},
                                    {{4, 1}, {Kind::Text, 0.0, std::string("a\0b", 3)}},
                                    {{6, 2}, {Kind::Text, 0.0, ""}},
                                    // Beyond the two columns the import reads.
                                    {{5, 3}, {Kind::Number, 7.0, {}}}});
    return sheet;
}

const SheetCells& decodedSheet(const std::optional<WorkbookMessage>& message) {
    static const SheetCells none(0, 0);
    if (!message || !message->sheet) {
        ADD_FAILURE() << "not a sheet";
        return none;
    }
    return *message->sheet;
}

void expectCell(const SheetCell& got, const SheetCell& want) {
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.number, want.number);
    EXPECT_EQ(got.text, want.text);
}

TEST(WorkbookMessage, CarriesTheCellsTheImportReads) {
    const auto message = decodeWorkbookMessage(encodeSheetMessage(sampleSheet(), 3));
    const SheetCells& cells = decodedSheet(message);
    EXPECT_EQ(cells.rowCount(), 6u);
    EXPECT_EQ(cells.columnCount(), 3u);
    for (std::uint32_t row = 1; row <= 7; ++row) {
        for (std::uint32_t column = 1; column <= 2; ++column) {
            SCOPED_TRACE(testing::Message() << row << "," << column);
            expectCell(cells.cell(row, column), sampleSheet().cell(row, column));
        }
    }
    expectCell(cells.cell(5, 3), {});
}

TEST(WorkbookMessage, SendsNoRowsBeyondTheImportLimit) {
    const MapSheet tall(kMaxSheetRows + 5, {{{kMaxSheetRows, 1}, {Kind::Number, 1.0, {}}},
                                            {{kMaxSheetRows + 1, 1}, {Kind::Number, 2.0, {}}}});
    const auto message = decodeWorkbookMessage(encodeSheetMessage(tall, 1));
    const SheetCells& cells = decodedSheet(message);
    EXPECT_EQ(cells.rowCount(), kMaxSheetRows + 5);
    EXPECT_EQ(cells.cell(kMaxSheetRows, 1).number, 1.0);
    EXPECT_EQ(cells.cell(kMaxSheetRows + 1, 1).kind, Kind::Empty);
}

TEST(WorkbookMessage, CarriesTheErrorText) {
    const auto message = decodeWorkbookMessage(encodeErrorMessage("a.xls holds no worksheet"));
    ASSERT_TRUE(message);
    EXPECT_FALSE(message->sheet);
    EXPECT_EQ(message->error, "a.xls holds no worksheet");
}

TEST(WorkbookMessage, RefusesEveryCutAndEveryExtraByte) {
    for (const std::string& whole :
         {encodeSheetMessage(sampleSheet(), 2), encodeErrorMessage("no worksheet")}) {
        for (std::size_t length = 0; length < whole.size(); ++length) {
            EXPECT_FALSE(decodeWorkbookMessage(whole.substr(0, length))) << length;
        }
        EXPECT_FALSE(decodeWorkbookMessage(whole + '\0'));
    }
}

// Little-endian 32-bit field.
std::string u32(std::uint32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>(value >> shift);
    }
    return out;
}

std::string sheetHead(std::uint32_t rows, std::uint32_t columns, std::uint32_t count) {
    return std::string("KTWB\x01S", 6) + u32(rows) + u32(columns) + u32(count);
}

std::string unreadableCell(std::uint32_t row, std::uint32_t column) {
    return u32(row) + u32(column) + '\x03';
}

TEST(WorkbookMessage, RefusesGarbledMessages) {
    const std::string textCellHead = u32(1) + u32(1) + '\x02';
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"nothing", ""},
        {"another version", std::string("KTWB\x02", 5) + 'E' + u32(1) + "x"},
        {"unknown tag", std::string("KTWB\x01X", 6)},
        {"empty error", std::string("KTWB\x01E", 6) + u32(0)},
        {"error longer than the bytes", std::string("KTWB\x01E", 6) + u32(100) + "short"},
        {"cell row 0", sheetHead(5, 2, 1) + unreadableCell(0, 1)},
        {"cell column 0", sheetHead(5, 2, 1) + unreadableCell(1, 0)},
        {"cell below the rows", sheetHead(5, 2, 1) + unreadableCell(6, 1)},
        {"cell right of the columns", sheetHead(5, 2, 1) + unreadableCell(1, 3)},
        {"cell twice", sheetHead(5, 2, 2) + unreadableCell(2, 1) + unreadableCell(2, 1)},
        {"cells out of order", sheetHead(5, 2, 2) + unreadableCell(2, 1) + unreadableCell(1, 2)},
        {"unknown cell kind", sheetHead(5, 2, 1) + u32(1) + u32(1) + '\x09'},
        {"huge cell count", sheetHead(5, 2, 0xFFFFFFFF) + unreadableCell(1, 1)},
        {"text over the cell limit", sheetHead(5, 2, 1) + textCellHead +
                                         u32(kMaxSentTextBytes + 1) +
                                         std::string(kMaxSentTextBytes + 1, 'x')},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_FALSE(decodeWorkbookMessage(bytes)) << what;
    }
    // The same framing holds a well-formed cell.
    EXPECT_TRUE(decodeWorkbookMessage(sheetHead(5, 2, 1) + textCellHead + u32(2) + "ok"));
}

}  // namespace
}  // namespace material
