// Windows reads workbooks in-process for now: what the stand-in for the reading child
// reports for work that finishes, throws or sends too much.

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/xls/SpreadsheetFile.h"
#include "data/xls/WorkbookMessage.h"

namespace material {
namespace {

std::string steelMessage() {
    SheetCells sheet(3, 2);
    sheet.append(1, 1, {SheetCell::Kind::Text, 0.0, "Name"});
    sheet.append(1, 2, {SheetCell::Kind::Text, 0.0, "Steel"});
    sheet.append(2, 1, {SheetCell::Kind::Number, 0.3, {}});
    sheet.append(3, 1, {SheetCell::Kind::Text, 0.0, "End"});
    return encodeSheetMessage(sheet, 2);
}

TEST(WorkbookInProcess, ImportsWhatTheWorkSendsInPieces) {
    const std::string whole = steelMessage();
    const SheetImport result = importFromChild("a.xls", [&](ChildOutput& output) {
        output.send(whole.substr(0, 5));
        output.send(whole.substr(5));
    });
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.materials.size(), 1u);
    EXPECT_EQ(result.materials[0].nameText, "Steel");
}

TEST(WorkbookInProcess, FailuresReadAsTheChildsWould) {
    const ChildLimits small{16, std::chrono::seconds(30)};
    struct Case {
        const char* what;
        ChildWork work;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"throws before sending", [](ChildOutput&) { throw std::bad_alloc(); },
         "a.xls is not an Excel 97-2003 workbook (.xls)"},
        {"sends half a message, then throws",
         [](ChildOutput& output) {
             output.send("0123");
             throw std::runtime_error("reader");
         },
         "a.xls is not an Excel 97-2003 workbook (.xls)"},
        {"sends more than the limit in pieces",
         [](ChildOutput& output) {
             EXPECT_TRUE(output.send(std::string(10, 'x')));
             EXPECT_FALSE(output.send(std::string(10, 'x')));
             EXPECT_FALSE(output.send("x"));
         },
         "a.xls is too large to be read"},
        {"sends garbage", [](ChildOutput& output) { output.send("MZ\x90"); },
         "a.xls is not an Excel 97-2003 workbook (.xls)"},
    };
    for (const Case& c : cases) {
        const SheetImport result = importFromChild("a.xls", c.work, parsePlainNumber, small);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_TRUE(result.materials.empty()) << c.what;
    }
}

}  // namespace
}  // namespace material
