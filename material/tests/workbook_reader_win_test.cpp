// Workbooks read by a reader program of their own: material.exe started with the reading
// argument, and a stand-in that crashes, hangs or floods on request, while the test
// process lives on.

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "data/xls/SpreadsheetFile.h"
#include "data/xls/win32/ReaderProgram.h"

namespace material {
namespace {

using Outcome = ChildReport::Outcome;

std::wstring windowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

const std::wstring kMaterialProgram = windowsPath(KT_MATERIAL_PROGRAM);
const std::wstring kStubProgram = windowsPath(KT_READER_STUB);

std::string fixture(const char* name) {
    return std::string(KT_XLS_FIXTURES) + "/" + name;
}

std::string notAWorkbook(const std::string& path) {
    return path + " is not an Excel 97-2003 workbook (.xls)";
}

// Processes running the program named `name`.
int running(const wchar_t* name) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int running = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        running += _wcsicmp(entry.szExeFile, name) == 0;
    }
    CloseHandle(snapshot);
    return running;
}

// Each test names its reader; the next test starts from the default again.
class WorkbookReaderTest : public testing::Test {
  protected:
    ~WorkbookReaderTest() override { setWorkbookReaderProgram({}); }
};

TEST_F(WorkbookReaderTest, TheProgramsReaderImportsWhatTheReaderInThisProcessImports) {
    setWorkbookReaderProgram(kMaterialProgram);
    for (const char* name : {"steel.xls", "UPPER.XLS", "accents.xls", "too_many_values.xls"}) {
        std::string error;
        const auto cells = WorkbookCells::open(fixture(name), error);
        ASSERT_TRUE(cells) << error;
        const SheetImport here = importSheet(*cells, parsePlainNumber);
        const SheetImport there = readSpreadsheet(fixture(name));
        EXPECT_EQ(there.error, here.error) << name;
        ASSERT_EQ(there.materials.size(), here.materials.size()) << name;
        for (std::size_t i = 0; i < here.materials.size(); ++i) {
            EXPECT_EQ(there.materials[i].nameText, here.materials[i].nameText) << name;
            EXPECT_EQ(there.materials[i].categoryKey, here.materials[i].categoryKey) << name;
            EXPECT_EQ(there.materials[i].values, here.materials[i].values) << name;
        }
    }
}

TEST_F(WorkbookReaderTest, TheProgramsReaderSaysWhatIsNoWorkbook) {
    setWorkbookReaderProgram(kMaterialProgram);
    const std::string path = fixture("not_a_workbook.xls");
    EXPECT_EQ(readSpreadsheet(path).error, notAWorkbook(path));
    // Files that crashed the reader on Linux.
    for (const char* seed :
         {"freexl_record_length_segv.xls", "freexl_directory_name_length_stack_overread.xls"}) {
        const std::string hostile = std::string(KT_WORKBOOK_SEEDS) + "/" + seed;
        EXPECT_EQ(readSpreadsheet(hostile).error, notAWorkbook(hostile));
    }
    const std::string missing = fixture("no such file.xls");
    EXPECT_EQ(readSpreadsheet(missing).error, missing + " cannot be opened");
}

TEST_F(WorkbookReaderTest, TheProgramWritesTheWorkbooksMessageToItsOutput) {
    const std::string path = fixture("steel.xls");
    const ChildReport report = runWorkbookReader(kMaterialProgram, path, {});
    EXPECT_EQ(report.outcome, Outcome::Finished);
    EXPECT_EQ(report.bytes, workbookMessage(path));
}

TEST_F(WorkbookReaderTest, ReadersThatEndBadlyReadAsNotWorkbooks) {
    setWorkbookReaderProgram(kStubProgram);
    // Only the hanging reader meets the time limit, so that a slow machine cannot turn
    // another case into a hang.
    const ChildLimits ample{std::size_t{1} << 20, std::chrono::seconds(60)};
    const ChildLimits quick{std::size_t{1} << 20, std::chrono::milliseconds(300)};
    struct Case {
        const char* what;
        ChildLimits limits;
        Outcome outcome;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"crash", ample, Outcome::Failed, notAWorkbook("crash")},
        {"half", ample, Outcome::Finished, notAWorkbook("half")},
        {"status 3", ample, Outcome::Failed, notAWorkbook("status 3")},
        {"garbage", ample, Outcome::Finished, notAWorkbook("garbage")},
        {"hang", quick, Outcome::TimedOut, notAWorkbook("hang")},
        {"flood", ample, Outcome::TooLarge, "flood is too large to be read"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readWorkbookInChild(c.what, c.limits).outcome, c.outcome) << c.what;
        const SheetImport result = readSpreadsheet(c.what, parsePlainNumber, c.limits);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_TRUE(result.materials.empty()) << c.what;
    }
    // The hanging and the flooding reader were ended, not left behind.
    EXPECT_EQ(running(L"workbook_reader_stub.exe"), 0);
    EXPECT_EQ(running(L"material_xls_win_test.exe"), 1) << "processes cannot be counted";
}

TEST_F(WorkbookReaderTest, AWellBehavedReadersSheetIsImported) {
    setWorkbookReaderProgram(kStubProgram);
    const SheetImport result = readSpreadsheet("steel");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.materials.size(), 1u);
    EXPECT_EQ(result.materials[0].nameText, "Steel");
}

TEST_F(WorkbookReaderTest, TheReaderIsGivenThePathAsItIs) {
    setWorkbookReaderProgram(kStubProgram);
    for (const std::string path :
         {"C:\\My Files\\a.xls", "say \"hi\".xls", "ends in\\", "two\\\\\" quotes\"",
          "\xc3\xa4rger \xe2\x82\xac.xls", "\t", ""}) {
        EXPECT_EQ(readSpreadsheet(path).error, "given " + path);
    }
}

TEST_F(WorkbookReaderTest, WithoutAReaderProgramTheFileCannotBeOpened) {
    // This test program never served a reading request, so it is no reader by default.
    for (const std::wstring& program : {std::wstring(), std::wstring(L"Z:\\no\\reader.exe")}) {
        setWorkbookReaderProgram(program);
        EXPECT_EQ(readWorkbookInChild("a.xls").outcome, Outcome::NotStarted);
        EXPECT_EQ(readSpreadsheet("a.xls").error, "a.xls cannot be opened");
    }
}

TEST(WorkbookRequest, OnlyTheReadingArgumentWithAPathIsARequest) {
    for (const wchar_t* commandLine :
         {L"material.exe", L"material.exe --read-workbook", L"material.exe a.xls",
          L"material.exe --read-workbook a.xls b.xls", L"material.exe --READ-WORKBOOK a.xls"}) {
        EXPECT_FALSE(workbookRequestPath(commandLine)) << commandLine;
    }
    EXPECT_EQ(workbookRequestPath(L"\"C:\\m.exe\" --read-workbook \"C:\\a b.xls\""),
              L"C:\\a b.xls");
}

TEST(WorkbookRequest, QuotedArgumentsReadBackUnchanged) {
    for (const std::wstring argument :
         {L"plain", L"with space", L"", L"tab\there", L"trailing\\", L"trailing space\\",
          L"\"quoted\"", L"a\\\"b", L"a\\\\\"b\\\\", L"C:\\Program Files\\x\\", L"\u00e4 \u20ac"}) {
        const std::wstring commandLine = L"program.exe " + quoteArgument(argument) + L" next";
        int count = 0;
        wchar_t** split = CommandLineToArgvW(commandLine.c_str(), &count);
        ASSERT_NE(split, nullptr);
        ASSERT_EQ(count, 3) << commandLine;
        EXPECT_EQ(std::wstring(split[1]), argument) << commandLine;
        EXPECT_EQ(std::wstring(split[2]), L"next") << commandLine;
        LocalFree(split);
    }
}

}  // namespace
}  // namespace material
