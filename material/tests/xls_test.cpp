// Spreadsheet import: the row rules on scripted sheets (both legs) and, where the .xls
// reader is built, the workbooks in fixtures/xls.

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "data/xls/SheetImport.h"

#include <filesystem>

#include "data/xls/SpreadsheetFile.h"

namespace material {
namespace {

using Kind = SheetCell::Kind;

SheetCell text(std::string value) {
    return {Kind::Text, 0.0, std::move(value)};
}
SheetCell number(double value) {
    return {Kind::Number, value, {}};
}
SheetCell empty() {
    return {};
}
SheetCell unreadable() {
    return {Kind::Unreadable, 0.0, {}};
}

// A scripted first sheet: one entry per row, columns 1 and 2.
class FakeSheet : public SheetCellSource {
  public:
    FakeSheet(std::vector<std::pair<SheetCell, SheetCell>> rows) : rows_(std::move(rows)) {}

    std::uint32_t rowCount() const override { return static_cast<std::uint32_t>(rows_.size()); }
    SheetCell cell(std::uint32_t row, std::uint32_t column) const override {
        const auto& cells = rows_.at(row - 1);
        return column == 1 ? cells.first : column == 2 ? cells.second : empty();
    }

  private:
    std::vector<std::pair<SheetCell, SheetCell>> rows_;
};

std::pair<SheetCell, SheetCell> cells(SheetCell first, SheetCell second = empty()) {
    return {std::move(first), std::move(second)};
}
std::pair<SheetCell, SheetCell> row(const char* first, const char* second = nullptr) {
    return {text(first), second ? text(second) : empty()};
}
std::pair<SheetCell, SheetCell> value(double v) {
    return {number(v), empty()};
}

struct Expected {
    std::string name;
    std::string category;
    std::vector<double> values;
};

void expectMaterials(const SheetImport& result, const std::vector<Expected>& expected) {
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.materials.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.materials[i].nameText, expected[i].name);
        EXPECT_EQ(result.materials[i].categoryKey, expected[i].category);
        EXPECT_EQ(result.materials[i].values, expected[i].values);
    }
}

TEST(SheetRules, ReadsMaterialsUpToTheEndRow) {
    struct Case {
        const char* what;
        FakeSheet sheet;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"one material",
         FakeSheet(
             {row("Name", "Steel"), row("Type", "Metals"), value(2.1e11), value(0.3), row("End")}),
         {{"Steel", "Metals", {2.1e11, 0.3}}}},
        {"End in row 1", FakeSheet({row("End"), row("Name", "Steel")}), {}},
        {"keywords padded and in any case, names kept as they are",
         FakeSheet({row(" name ", " Rubber  "), row("tYPE   ", " Elastomers"), row("1.5"),
                    row("NAME", "Glass"), row("eNd")}),
         {{" Rubber  ", " Elastomers", {1.5}}, {"Glass", "", {}}}},
        {"later Type replaces the category; empty cells are values of 0",
         FakeSheet({row("Name", "A"), row("Type", "X"), cells(empty()), value(-2.5),
                    row("Type", "Y"), row("End")}),
         {{"A", "Y", {0.0, -2.5}}}},
        {"number as name, empty category",
         FakeSheet({cells(text("Name"), number(4340)), cells(text("Type"), empty()),
                    cells(text("Name"), number(2.1e11)), row("End")}),
         {{"4340", "", {}}, {"210000000000", "", {}}}},
        {"eleven values fit",
         FakeSheet({row("Name", "A"), value(0), value(1), value(2), value(3), value(4), value(5),
                    value(6), value(7), value(8), value(9), value(10), row("End")}),
         {{"A", "", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}}},
        {"cell texts become the library's single-byte text",
         FakeSheet({row("Name", "Stahl \xC3\x84 \xE2\x82\xAC"), row("Type", "Metal \xC2\xB5"),
                    row("End")}),
         {{"Stahl \xC4 \x80", "Metal \xB5", {}}}},
        {"texts at the file's limits, blanks around them not counted",
         FakeSheet({row("Name", ("  " + std::string(30, 'n') + "  ").c_str()),
                    row("Type", std::string(25, 'c').c_str()), row("End")}),
         {{"  " + std::string(30, 'n') + "  ", std::string(25, 'c'), {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectMaterials(importSheet(c.sheet), c.expected);
    }
}

TEST(SheetRules, LimitBreakingSheetsFailWithRowAndReason) {
    std::vector<std::pair<SheetCell, SheetCell>> twelveValues = {row("Name", "Steel")};
    for (int i = 0; i < 12; ++i) {
        twelveValues.push_back(value(i));
    }
    twelveValues.push_back(row("End"));

    const std::vector<std::pair<FakeSheet, std::string>> cases = {
        {FakeSheet(twelveValues), "Row 13: more than eleven values for material Steel"},
        {FakeSheet({row("Name", "A"), value(1.0), row("1,5"), row("End")}),
         "Row 3: value \"1,5\" is not a number"},
        {FakeSheet({row(" name ", "A"), row(" End"), row("End")}),
         "Row 2: value \" End\" is not a number"},
        {FakeSheet({row("Title"), row("Name", "A"), row("End")}),
         "Row 1: value row before the first \"Name\" row"},
        {FakeSheet({value(1.0), row("Name", "A"), row("End")}),
         "Row 1: value row before the first \"Name\" row"},
        {FakeSheet({row("Type", "Metals"), row("Name", "A"), row("End")}),
         "Row 1: \"Type\" row before the first \"Name\" row"},
        {FakeSheet({row("Name", "A"), value(1.0)}), "Row 3: the sheet ends without an \"End\" row"},
        {FakeSheet({}), "Row 1: the sheet ends without an \"End\" row"},
        {FakeSheet({row("Name", "A"), cells(unreadable())}), "Row 2: column 1 cannot be read"},
        {FakeSheet({cells(text("Name"), unreadable())}), "Row 1: column 2 cannot be read"},
        {FakeSheet({row("Name", "A name exceeding thirty chars!!"), row("End")}),
         "Row 1: the name \"A name exceeding thirty chars!!\" is longer than 30 characters"},
        {FakeSheet({row("Name", "A"), row("Type", "Category of twenty-six chr"), row("End")}),
         "Row 2: the category \"Category of twenty-six chr\" is longer than 25 characters"},
        {FakeSheet({row("Name", "Steel"), row("Name", "Stahl \xCE\xA9"), row("End")}),
         "Row 2: the name \"Stahl ?\" holds the character U+03A9, which a material library "
         "cannot hold"},
        {FakeSheet({row("Name", "A"), row("Type", "\xE6\x97\xA5 Metal"), row("End")}),
         "Row 2: the category \"? Metal\" holds the character U+65E5, which a material "
         "library cannot hold"},
        {FakeSheet({row("Name", "Metal\xFF"), row("End")}),
         "Row 1: the name \"Metal?\" holds an unreadable character, which a material "
         "library cannot hold"},
    };
    for (const auto& [sheet, error] : cases) {
        const auto result = importSheet(sheet);
        EXPECT_EQ(result.error, error);
        EXPECT_TRUE(result.materials.empty()) << error;
    }
}

TEST(SheetRules, RowAndMaterialCountsStopAtTheirLimits) {
    // 1001 materials with the End row at 32767 are read; one more of either fails.
    auto sheetWith = [](std::size_t materials, std::uint32_t endRow) {
        std::vector<std::pair<SheetCell, SheetCell>> rows;
        for (std::size_t i = 0; i < materials; ++i) {
            rows.push_back(row("Name", "M"));
        }
        while (rows.size() + 1 < endRow) {
            rows.push_back(row("Type", "filler"));
        }
        rows.push_back(row("End"));
        return FakeSheet(rows);
    };
    const auto full = importSheet(sheetWith(1001, 32767));
    ASSERT_TRUE(full.ok()) << full.error;
    EXPECT_EQ(full.materials.size(), 1001u);
    EXPECT_EQ(full.materials.back().categoryKey, "filler");

    EXPECT_EQ(importSheet(sheetWith(1002, 2000)).error, "Row 1002: more than 1001 materials");
    EXPECT_EQ(importSheet(sheetWith(1, 32768)).error,
              "Row 32768: more than 32767 rows before the \"End\" row");
}

TEST(SheetRules, TextValuesGoThroughTheGivenParser) {
    const FakeSheet sheet({row("Name", "A"), row("1,5"), value(2.0), row("End")});
    const auto commaParser = [](std::string_view text) -> std::optional<double> {
        return text == "1,5" ? std::optional(1.5) : std::nullopt;
    };
    expectMaterials(importSheet(sheet, commaParser), {{"A", "", {1.5, 2.0}}});
}

TEST(PlainNumbers, AcceptOnlyWholeFiniteNumbers) {
    EXPECT_EQ(parsePlainNumber(" 2.1E11 "), 2.1e11);
    EXPECT_EQ(parsePlainNumber("+7"), 7.0);
    EXPECT_EQ(parsePlainNumber("-1.5e-3"), -1.5e-3);
    for (const char* text : {"1,5", "", " ", "1e", "12abc", "+-1", "inf", "nan", "1e999", "0x10"}) {
        EXPECT_EQ(parsePlainNumber(text), std::nullopt) << text;
    }
}

TEST(SpreadsheetFileNames, EndInXlsInAnyCase) {
    for (const char* name : {"a.xls", "C:\\Data\\MATS.XLS", "book.Xls", "xls"}) {
        EXPECT_TRUE(isSpreadsheetFileName(name)) << name;
    }
    for (const char* name : {"a.lib", "a.xlsx", "a.xl", "", "xl"}) {
        EXPECT_FALSE(isSpreadsheetFileName(name)) << name;
    }
}

// Workbooks written by tests/fixtures/xls/make_fixtures.py (python3-xlwt); the comment
// on each case names the sheet it holds.
std::string fixture(const std::string& name) {
    return std::string(KT_XLS_FIXTURES) + "/" + name;
}

TEST(SpreadsheetFiles, ReadTheFirstSheet) {
    // Name Steel, Type Metals, 2.1E11, 0.3, End.
    expectMaterials(readSpreadsheet(fixture("steel.xls")), {{"Steel", "Metals", {2.1e11, 0.3}}});
    // End in row 1, then a material that is not read.
    expectMaterials(readSpreadsheet(fixture("end_first.xls")), {});
    // Upper-case extension; NAME / TYPE / name / Type keywords, lower-case end.
    EXPECT_TRUE(isSpreadsheetFileName(fixture("UPPER.XLS")));
    expectMaterials(readSpreadsheet(fixture("UPPER.XLS")),
                    {{"Copper", "Metals", {1.17e11}}, {"Glass", "Ceramics", {0.22}}});
    // A number as name, an integer value, a text value, an empty value cell, END.
    expectMaterials(readSpreadsheet(fixture("mixed_cells.xls")),
                    {{"4340", "Alloy steels", {7850, 2.05e11, 0.0, -1.5e-3}}});
    // Name "Stahl Ä €" (stored as UTF-16), Type "Metal µ" (stored as 8-bit), 7.85, End.
    expectMaterials(readSpreadsheet(fixture("accents.xls")),
                    {{"Stahl \xC4 \x80", "Metal \xB5", {7.85}}});
}

// Paths arrive as UTF-8, also with characters outside the system's 8-bit code page.
TEST(SpreadsheetFiles, OpenFromAFolderNamedBeyondAscii) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / fs::path(u8"xls W\u00f6rkb\u00fccher \u03a9 \u6750");
    fs::create_directories(folder);
    const fs::path copy = folder / fs::path(u8"St\u00e4hle.xls");
    fs::copy_file(fixture("steel.xls"), copy, fs::copy_options::overwrite_existing);
    const std::u8string utf8 = copy.u8string();
    const std::string path(utf8.begin(), utf8.end());

    expectMaterials(readSpreadsheet(path), {{"Steel", "Metals", {2.1e11, 0.3}}});
    fs::remove_all(folder);
}

TEST(SpreadsheetFiles, ReportRowErrorsAndUnreadableFiles) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        // " name " Rubber, " type " Elastomers, 1.5, " End", End.
        {"padded_keywords.xls", "Row 4: value \" End\" is not a number"},
        // Name Steel, Type Metals, twelve values 0-11, End.
        {"too_many_values.xls", "Row 14: more than eleven values for material Steel"},
        // Name Brass, 1, 2 and nothing more.
        {"no_end.xls", "Row 4: the sheet ends without an \"End\" row"},
        // A semicolon-separated text file.
        {"not_a_workbook.xls",
         fixture("not_a_workbook.xls") + " is not an Excel 97-2003 workbook (.xls)"},
        {"missing.xls", fixture("missing.xls") + " cannot be opened"},
    };
    for (const auto& [name, error] : cases) {
        const auto result = readSpreadsheet(fixture(name));
        EXPECT_EQ(result.error, error);
        EXPECT_TRUE(result.materials.empty()) << name;
    }
}


}  // namespace
}  // namespace material
