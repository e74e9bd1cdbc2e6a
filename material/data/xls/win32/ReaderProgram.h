#pragma once
// A new Windows process cannot run a piece of the program, only a program: workbooks are
// read by a program started as `<program> --read-workbook <path>`, which writes the
// workbook's message to its standard output. By default that program is the running one,
// so that the program stays a single file.

#include <optional>
#include <string>
#include <string_view>

#include "../ReaderProcess.h"

namespace material {

inline constexpr std::wstring_view kReadWorkbookArgument = L"--read-workbook";

// The path `commandLine` (the whole of it, program name first) asks to be read, when it
// is `<program> --read-workbook <path>`.
std::optional<std::wstring> workbookRequestPath(const wchar_t* commandLine);

// When `commandLine` (the whole of it, program name first) asks for a workbook to be
// read, reads it, writes its message to standard output and returns the exit status.
// Otherwise returns nothing, and from then on this program reads its own workbooks: a
// program that never asks cannot be started as a reader, since it would not read.
std::optional<int> serveWorkbookRequest(const wchar_t* commandLine);

// From now on a crash ends this process at once, with the crash's code as its status:
// no error box and no debugger, which would keep a reader from ending until it times out.
void endQuietlyOnCrash();

// Names the program that reads workbooks; an empty name restores the default.
void setWorkbookReaderProgram(std::wstring program);

// Starts `program` to read the workbook at `path` (UTF-8) and collects what it writes
// within `limits`; it is ended when it runs too long or writes too much.
ChildReport runWorkbookReader(const std::wstring& program, const std::string& path,
                              const ChildLimits& limits);

// `argument` written so that the command-line rules of Windows programs read it back
// unchanged, spaces, quotes and backslashes included.
std::wstring quoteArgument(std::wstring_view argument);

}  // namespace material
