#include <windows.h>

#include "ProgramProcess.h"
#include "TestData.h"
#include "WinText.h"

namespace sysreport::testing {
namespace {

// A file the child writes its output to.
HANDLE inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(toWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Arguments here hold no quotes or trailing backslashes, so quoting each is enough.
std::wstring commandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& argument : arguments) {
        line += L" \"" + toWide(argument) + L"\"";
    }
    return line;
}

}  // namespace

Outcome ProgramProcess::run(const std::vector<std::string>& arguments) {
    HANDLE out = inheritableFile(path("out"));
    HANDLE err = inheritableFile(path("err"));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring line = commandLine(program_.wstring(), arguments);
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        outcome.exitCode = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    outcome.out = readBytes(path("out"));
    outcome.err = readBytes(path("err"));
    return outcome;
}

}  // namespace sysreport::testing
