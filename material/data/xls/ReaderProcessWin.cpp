// Windows: the workbook is read by a program of its own (by default this one, started
// again with an argument), whose standard output is a pipe to this process. A job object
// ends the reader together with this process and keeps a crash in it from asking the
// user anything.
#include <windows.h>

#include <shellapi.h>

#include <future>
#include <mutex>
#include <utility>
#include <vector>

#include "SpreadsheetFile.h"
#include "win32/ReaderProgram.h"
#include "win32/WideText.h"

namespace material {
namespace {

using Clock = std::chrono::steady_clock;
using Outcome = ChildReport::Outcome;

class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    HANDLE handle_ = nullptr;
};

// Which program reads workbooks; built on first use, since tests choose it while their
// statics are made.
struct ReaderChoice {
    std::mutex lock;
    std::wstring program;
    bool servesItself = false;
};

ReaderChoice& readerChoice() {
    static ReaderChoice choice;
    return choice;
}

std::wstring runningProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring readerProgram() {
    ReaderChoice& choice = readerChoice();
    const std::lock_guard<std::mutex> lock(choice.lock);
    if (!choice.program.empty()) {
        return choice.program;
    }
    return choice.servesItself ? runningProgram() : std::wstring{};
}

std::vector<std::wstring> splitCommandLine(const wchar_t* commandLine) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments) {
        return {};
    }
    std::vector<std::wstring> split(arguments, arguments + count);
    LocalFree(arguments);
    return split;
}

bool writeAll(HANDLE output, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(output, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A job that ends its processes when this process lets go of it (on exit included), and
// ends a process on a crash instead of showing the error dialog. Null when the system
// offers none; the reader is then ended by the time limit only.
Handle killOnCloseJob() {
    Handle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (job && !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits)) {
        job.reset();
    }
    return job;
}

// The reader's standard output; only the write end is inherited, and by the reader only.
struct OutputPipe {
    Handle read;
    Handle write;

    bool open() {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
            return false;
        }
        read = Handle(readEnd);
        write = Handle(writeEnd);
        return SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0) != 0;
    }
};

// Lets the reader inherit `inherited` and no other handle this process holds.
class InheritOnly {
  public:
    explicit InheritOnly(HANDLE inherited) : inherited_(inherited) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
        if (size != 0 && InitializeProcThreadAttributeList(list, 1, 0, &size)) {
            list_ = list;
            if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited_,
                                           sizeof inherited_, nullptr, nullptr)) {
                DeleteProcThreadAttributeList(list_);
                list_ = nullptr;
            }
        }
    }
    ~InheritOnly() {
        if (list_) {
            DeleteProcThreadAttributeList(list_);
        }
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

  private:
    HANDLE inherited_;
    std::vector<char> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

struct Reader {
    Handle process;
    Handle job;

    void end() {
        if (job) {
            TerminateJobObject(job.get(), 1);
        }
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
    }
};

// Starts the reader, suspended until it is in the job so that nothing it starts escapes.
std::optional<Reader> startReader(const std::wstring& program, std::wstring commandLine,
                                  HANDLE output) {
    InheritOnly inherit(output);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdOutput = output;
    startup.lpAttributeList = inherit.list();
    DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED;
    if (inherit.list()) {
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    }
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                        nullptr, &startup.StartupInfo, &started)) {
        return std::nullopt;
    }
    Reader reader{Handle(started.hProcess), killOnCloseJob()};
    Handle thread(started.hThread);
    if (reader.job && !AssignProcessToJobObject(reader.job.get(), reader.process.get())) {
        reader.job.reset();
    }
    ResumeThread(thread.get());
    return reader;
}

struct Received {
    Outcome outcome;
    std::string bytes;
};

// Reads until the reader closes its end (it ended), reading fails or the limit is passed.
Received readAll(HANDLE input, std::size_t maxBytes) {
    Received received{Outcome::Finished, {}};
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            received.outcome =
                GetLastError() == ERROR_BROKEN_PIPE ? Outcome::Finished : Outcome::Failed;
            return received;
        }
        if (got > maxBytes - received.bytes.size()) {
            received.outcome = Outcome::TooLarge;
            return received;
        }
        received.bytes.append(buffer.data(), got);
    }
}

DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(left, 0x7fffffff));
}

// How the reader ended, once it has sent everything before `deadline`.
Outcome exitOutcome(Reader& reader, Clock::time_point deadline) {
    if (WaitForSingleObject(reader.process.get(), millisecondsUntil(deadline)) != WAIT_OBJECT_0) {
        reader.end();
        return Outcome::TimedOut;
    }
    DWORD status = 1;
    return GetExitCodeProcess(reader.process.get(), &status) && status == 0 ? Outcome::Finished
                                                                            : Outcome::Failed;
}

// Ends the process with the crash's code: the system's last-chance handling would
// start a debugger or ask the user first.
LONG WINAPI endOnCrash(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::wstring quoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        return std::wstring(argument);
    }
    // Backslashes are plain characters unless a quote follows them: those before a quote
    // (the closing one included) are doubled, and the quote escaped.
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::optional<std::wstring> workbookRequestPath(const wchar_t* commandLine) {
    const std::vector<std::wstring> arguments = splitCommandLine(commandLine);
    if (arguments.size() != 3 || arguments[1] != kReadWorkbookArgument) {
        return std::nullopt;
    }
    return arguments[2];
}

std::optional<int> serveWorkbookRequest(const wchar_t* commandLine) {
    const std::optional<std::wstring> requested = workbookRequestPath(commandLine);
    if (!requested) {
        ReaderChoice& choice = readerChoice();
        const std::lock_guard<std::mutex> lock(choice.lock);
        choice.servesItself = true;
        return std::nullopt;
    }
    // A reader that crashes on a hostile file ends quietly: the program that started it
    // tells the user.
    endQuietlyOnCrash();
    std::string path;
    if (!win32::encodeUtf8(*requested, path)) {
        return 1;
    }
    return writeAll(GetStdHandle(STD_OUTPUT_HANDLE), workbookMessage(path)) ? 0 : 1;
}

void endQuietlyOnCrash() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endOnCrash);
}

void setWorkbookReaderProgram(std::wstring program) {
    ReaderChoice& choice = readerChoice();
    const std::lock_guard<std::mutex> lock(choice.lock);
    choice.program = std::move(program);
}

ChildReport runWorkbookReader(const std::wstring& program, const std::string& path,
                              const ChildLimits& limits) {
    std::wstring widePath;
    OutputPipe pipe;
    if (program.empty() || !win32::decodeToWide(CP_UTF8, path.data(), path.size(), widePath) ||
        !pipe.open()) {
        return {};
    }
    const std::wstring commandLine = quoteArgument(program) + L" " +
                                     std::wstring(kReadWorkbookArgument) + L" " +
                                     quoteArgument(widePath);
    std::optional<Reader> reader = startReader(program, commandLine, pipe.write.get());
    // Only the reader may hold the write end, or the end of its output never arrives.
    pipe.write.reset();
    if (!reader) {
        return {};
    }
    const Clock::time_point deadline = Clock::now() + limits.timeout;
    auto reading = std::async(std::launch::async, readAll, pipe.read.get(), limits.maxBytes);
    if (reading.wait_until(deadline) != std::future_status::ready) {
        // Ending the reader breaks the pipe, which ends the reading.
        reader->end();
        reading.wait();
        return {Outcome::TimedOut, {}};
    }
    Received received = reading.get();
    if (received.outcome != Outcome::Finished) {
        reader->end();
        return {received.outcome, {}};
    }
    return {exitOutcome(*reader, deadline), std::move(received.bytes)};
}

ChildReport readWorkbookInChild(const std::string& path, const ChildLimits& limits) {
    return runWorkbookReader(readerProgram(), path, limits);
}

}  // namespace material
