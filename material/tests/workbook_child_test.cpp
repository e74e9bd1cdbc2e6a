// Workbooks read in a child process: files that crash or upset the reader, and children
// that end badly, come back as "not a workbook" while the test process lives on.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/library/LibraryController.h"
#include "data/xls/ReaderProcessPosix.h"
#include "data/xls/SpreadsheetFile.h"
#include "data/xls/WorkbookMessage.h"
#include "library_fakes.h"

namespace material {
namespace {

std::string notAWorkbook(const std::string& path) {
    return path + " is not an Excel 97-2003 workbook (.xls)";
}

std::string seed(const char* name) {
    return std::string(KT_WORKBOOK_SEEDS) + "/" + name;
}

TEST(WorkbookChild, FilesThatCrashTheReaderAreNotWorkbooks) {
    for (const char* name :
         {"freexl_record_length_segv.xls", "freexl_directory_name_length_stack_overread.xls"}) {
        const SheetImport result = readSpreadsheet(seed(name));
        EXPECT_EQ(result.error, notAWorkbook(seed(name)));
        EXPECT_TRUE(result.materials.empty()) << name;
    }
}

TEST(WorkbookChild, AReaderLeakStaysInTheChild) {
    // The reader leaks on this file but reads it; the sheet it finds breaks the row
    // rules. Under a leak checker the test process would report the leak if the file
    // were read in it.
    const SheetImport result = readSpreadsheet(seed("freexl_record_past_stream_end_leak.xls"));
    EXPECT_EQ(result.error, "Row 1: value row before the first \"Name\" row");
    EXPECT_TRUE(result.materials.empty());
}

TEST(WorkbookChild, TheOpenCommandSaysACrashingFileIsNotAWorkbook) {
    testing::ScriptedPrompts prompts;
    testing::FakeWindow window;
    testing::MemoryFiles files;
    testing::FixedSeparator separator;
    clsRegistry settings{std::make_unique<testing::MemoryStore>()};
    LibraryController library{
        {prompts, window, files, separator, settings, PlatformWorkbookReader()}};
    const std::string path = seed("freexl_record_length_segv.xls");
    prompts.openChoices = {path};
    prompts.answers = {MessageAnswer::Ok};
    library.OpenLibrary();
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{notAWorkbook(path)});
    EXPECT_FALSE(library.IsOpen());
}

// A whole message for a sheet holding Name Steel, Type Metals, 0.3, End.
std::string steelMessage() {
    const auto text = [](const char* value) {
        return SheetCell{SheetCell::Kind::Text, 0.0, value};
    };
    SheetCells sheet(4, 2);
    sheet.append(1, 1, text("Name"));
    sheet.append(1, 2, text("Steel"));
    sheet.append(2, 1, text("Type"));
    sheet.append(2, 2, text("Metals"));
    sheet.append(3, 1, {SheetCell::Kind::Number, 0.3, {}});
    sheet.append(4, 1, text("End"));
    return encodeSheetMessage(sheet, 2);
}

TEST(WorkbookChild, ImportsTheSheetAWellBehavedChildSends) {
    const SheetImport result =
        importFromChild("a.xls", [](ChildOutput& output) { output.send(steelMessage()); });
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.materials.size(), 1u);
    EXPECT_EQ(result.materials[0].nameText, "Steel");
    EXPECT_EQ(result.materials[0].categoryKey, "Metals");
    EXPECT_EQ(result.materials[0].values, std::vector<double>{0.3});
}

TEST(WorkbookChild, PassesOnTheReadersOwnError) {
    const SheetImport result = importFromChild("a.xls", [](ChildOutput& output) {
        output.send(encodeErrorMessage("a.xls is protected by a password"));
    });
    EXPECT_EQ(result.error, "a.xls is protected by a password");
}

TEST(WorkbookChild, ChildrenThatEndBadlyReadAsNotWorkbooks) {
    const std::string whole = steelMessage();
    const std::string half = whole.substr(0, whole.size() / 2);
    // Only the hanging child meets the time limit, so that a slow machine cannot turn
    // another case into a hang.
    const ChildLimits ample{std::size_t{1} << 20, std::chrono::seconds(30)};
    const ChildLimits quick{std::size_t{1} << 20, std::chrono::milliseconds(100)};
    struct Case {
        const char* what;
        ChildWork work;
        ChildLimits limits;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"aborts after half a message",
         [&](ChildOutput& output) {
             output.send(half);
             std::abort();
         },
         ample, notAWorkbook("a.xls")},
        {"exits cleanly after half a message", [&](ChildOutput& output) { output.send(half); },
         ample, notAWorkbook("a.xls")},
        {"sends all, then exits with status 3",
         [&](ChildOutput& output) {
             output.send(whole);
             ::_exit(3);
         },
         ample, notAWorkbook("a.xls")},
        {"sends all, then dies by a signal",
         [&](ChildOutput& output) {
             output.send(whole);
             ::raise(SIGSEGV);
         },
         ample, notAWorkbook("a.xls")},
        {"throws before sending", [](ChildOutput&) { throw std::bad_alloc(); }, ample,
         notAWorkbook("a.xls")},
        {"sends nothing", [](ChildOutput&) {}, ample, notAWorkbook("a.xls")},
        {"sends garbage", [](ChildOutput& output) { output.send("MZ\x90"); }, ample,
         notAWorkbook("a.xls")},
        {"hangs",
         [](ChildOutput&) {
             for (;;) {
                 ::pause();
             }
         },
         quick, notAWorkbook("a.xls")},
        {"sends more than the limit",
         [&](ChildOutput& output) {
             for (int i = 0; i < 64; ++i) {
                 output.send(std::string(65536, 'x'));
             }
         },
         ample, "a.xls is too large to be read"},
    };
    for (const Case& c : cases) {
        const SheetImport result = importFromChild("a.xls", c.work, parsePlainNumber, c.limits);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_TRUE(result.materials.empty()) << c.what;
    }
}

}  // namespace
}  // namespace material
