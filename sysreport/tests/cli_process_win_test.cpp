// sysreport.exe started as a process under Wine, as a script would start it:
// reports written without a window, the output captured, the exit codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "FilePaths.h"
#include "TestData.h"
#include "WinText.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// A file the child writes its output to.
HANDLE inheritableFile(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class ProgramProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / "kt-sysreport-process";
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        // A copy of its own, so that the default report lands in this folder.
        fs::copy_file(pathFromUtf8(SYSREPORT_PROGRAM), program());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path program() const { return root_ / "program" / "sysreport.exe"; }
    std::string utf8(const fs::path& path) const { return pathToUtf8(path.lexically_normal()); }

    Outcome run(const std::wstring& arguments) {
        HANDLE out = inheritableFile(root_ / "out");
        HANDLE err = inheritableFile(root_ / "err");
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out;
        startup.hStdError = err;
        std::wstring commandLine = L"\"" + program().wstring() + L"\" " + arguments;
        PROCESS_INFORMATION process{};
        Outcome outcome;
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &process)) {
            WaitForSingleObject(process.hProcess, 60000);
            GetExitCodeProcess(process.hProcess, &outcome.exitCode);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        CloseHandle(out);
        CloseHandle(err);
        outcome.out = readBytes(utf8(root_ / "out"));
        outcome.err = readBytes(utf8(root_ / "err"));
        return outcome;
    }

    fs::path root_;
};

TEST_F(ProgramProcess, SaveWritesTheReportWhereViewSaveWouldOrWhereNamed) {
    Outcome outcome = run(L"--save");
    const fs::path report = root_ / "program" / "Simulation Product Info.htm";
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.err;
    EXPECT_NE(outcome.out.find(utf8(report)), std::string::npos) << outcome.out;
    std::string html = readBytes(utf8(report));
    EXPECT_EQ(html.rfind("<html>\r\n<head>\r\n", 0), 0u);
    EXPECT_EQ(html.substr(html.size() - 9), "</body>\r\n");

    const fs::path named = root_ / "ticket 4711.htm";
    outcome = run(L"--save \"" + named.wstring() + L"\"");
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.err;
    EXPECT_NE(outcome.out.find(utf8(named)), std::string::npos) << outcome.out;
    html = readBytes(utf8(named));
    EXPECT_EQ(html.rfind("<html>\r\n<head>\r\n", 0), 0u);

    outcome = run(L"--save \"" + (root_ / "missing" / "r.htm").wstring() + L"\"");
    EXPECT_EQ(outcome.exitCode, 1u);
    EXPECT_NE(outcome.err.find("could not be written"), std::string::npos) << outcome.err;
}

TEST_F(ProgramProcess, HelpAndAWrongOptionEndWithoutAWindowOrAReport) {
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
        const char* out;  // expected start of the output
        const char* err;  // expected part of the error output
    } cases[] = {
        {L"--help", 0, "Usage: sysreport", ""},
        {L"--version", 0, "sysreport Version 2.4.4", ""},
        {L"--bogus", 2, "", "Usage: sysreport"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.arguments);
        const std::string name = fromWide(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << name;
        EXPECT_EQ(outcome.out.rfind(c.out, 0), 0u) << name << ": " << outcome.out;
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << name << ": " << outcome.err;
    }
    EXPECT_FALSE(fs::exists(root_ / "program" / "Simulation Product Info.htm"));
}

}  // namespace
}  // namespace sysreport::testing
