// Windows: studypurge.exe started as a process with redirected output, under the
// system's structured storage: exit codes, output lines and the files on disk; and
// with a single path, its dialog with that path in the path box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CleanDocument.h"
#include "DocumentFiles.h"

namespace {

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

std::wstring wide(const std::string& utf8) {
    const std::u16string text = purge::Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

// The program beside this test program.
std::wstring programPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"studypurge.exe";
}

std::wstring commandLine(const std::vector<std::string>& args) {
    std::wstring command = L"\"" + programPath() + L"\"";
    for (const auto& arg : args) {
        command += L" \"" + wide(arg) + L"\"";
    }
    return command;
}

Outcome runProgram(const std::vector<std::string>& args) {
    std::wstring command = commandLine(args);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    Outcome outcome;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return outcome;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            outcome.output.append(buffer, read);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &outcome.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    // The runtime ends text lines with CR LF.
    std::erase(outcome.output, '\r');
    return outcome;
}

TEST(StudypurgeProcess, CleansAndReportsByExitCode) {
    clitest::ScratchFolder dir;
    const std::string doc = dir.path("wheel.pldasm");
    const std::string text = dir.path("readme.pldprt");
    std::string error;
    ASSERT_TRUE(clitest::writeDocument(doc,
                                       {{"Body", 5000},
                                        {"ThirdPtyStore/Korworks/Mesh", 4100},
                                        {"ThirdPtyStore/MDI_DDMPL", 64},
                                        {"ThirdPtyStore/Keep", 1}},
                                       error))
        << error;
    clitest::writeBytes(text, {'h', 'i'});

    const Outcome dry = runProgram({"--dry-run", "--products", "motion", doc});
    EXPECT_EQ(dry.exitCode, 0u) << dry.output;
    EXPECT_EQ(dry.output, doc +
                              ": would remove ThirdPtyStore/MDI_DDMPL; 64 bytes would be freed\n"
                              "would clean 1, unchanged 0, refused 0; 64 bytes would be freed\n");

    const Outcome clean = runProgram({"--all", doc, text});
    EXPECT_EQ(clean.exitCode, 1u) << clean.output;
    EXPECT_EQ(clean.output,
              doc +
                  ": cleaned: removed ThirdPtyStore/Korworks, ThirdPtyStore/MDI_DDMPL; 4164 "
                  "bytes freed\n" +
                  text + ": refused: not a compound file\n" +
                  "cleaned 1, unchanged 0, refused 1; 4164 bytes freed\n");
    EXPECT_EQ(
        clitest::listDocument(doc),
        (std::vector<std::string>{"F Body 5000", "F ThirdPtyStore/Keep 1", "S ThirdPtyStore"}));
    EXPECT_EQ(clitest::readBytes(text), (std::vector<std::uint8_t>{'h', 'i'}));

    EXPECT_EQ(runProgram({"--all", doc}).exitCode, 0u);
    const Outcome usage = runProgram({"--all"});
    EXPECT_EQ(usage.exitCode, 2u);
    EXPECT_NE(usage.output.find("studypurge"), std::string::npos) << usage.output;
    EXPECT_EQ(runProgram({"--version"}).output,
              "studypurge version 2012, korvex-tools " KT_VERSION "\n");
}

// The program started as a file manager starts it: with no standard handles. Ended by
// the test in any case.
class WindowedProcess {
  public:
    explicit WindowedProcess(const std::vector<std::string>& args) {
        std::wstring command = commandLine(args);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_);
    }
    ~WindowedProcess() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
            }
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    WindowedProcess(const WindowedProcess&) = delete;
    WindowedProcess& operator=(const WindowedProcess&) = delete;

    bool started() const { return started_ != FALSE; }
    // Waits until the program waits for input, i.e. its dialog is up.
    bool waitUntilIdle() const { return WaitForInputIdle(process_.hProcess, 30000) == 0; }

    // The program's dialog window, or null.
    HWND dialog() const {
        struct Search {
            DWORD processId;
            HWND found;
        } search{process_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto* s = reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t kind[16] = {};
                GetClassNameW(window, kind, 16);
                if (owner == s->processId && lstrcmpW(kind, L"#32770") == 0) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    DWORD exitCode() const {
        DWORD code = 0xFFFFFFFF;
        if (WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_.hProcess, &code);
        }
        return code;
    }

  private:
    BOOL started_ = FALSE;
    PROCESS_INFORMATION process_{};
};

TEST(StudypurgeProcess, ASinglePathOpensTheDialogWithThatPathInThePathBox) {
    clitest::ScratchFolder dir;
    const std::string doc = dir.path("Zahnrad \xC3\x9C.pldprt");
    WindowedProcess program({doc});
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.waitUntilIdle());
    HWND dialog = program.dialog();
    ASSERT_NE(dialog, nullptr);

    constexpr int kPathBox = 1001;
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, kPathBox, text, MAX_PATH);
    EXPECT_EQ(std::wstring(text), wide(doc));

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // "Close"
    EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
