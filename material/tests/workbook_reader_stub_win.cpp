// A stand-in for the workbook reader that misbehaves on request, so that tests can see
// how a reader that crashes, hangs, floods or stops part-way is reported. Started as
// `stub --read-workbook <what>`: <what> names the misbehaviour; any other text is sent
// back in an error message, so that tests can see the path the reader was given.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

#include "data/xls/WorkbookMessage.h"
#include "data/xls/win32/ReaderProgram.h"
#include "data/xls/win32/WideText.h"

namespace {

using namespace material;

bool send(std::string_view bytes) {
    DWORD written = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(),
                     static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string steelMessage() {
    SheetCells sheet(3, 2);
    sheet.append(1, 1, {SheetCell::Kind::Text, 0.0, "Name"});
    sheet.append(1, 2, {SheetCell::Kind::Text, 0.0, "Steel"});
    sheet.append(2, 1, {SheetCell::Kind::Number, 0.3, {}});
    sheet.append(3, 1, {SheetCell::Kind::Text, 0.0, "End"});
    return encodeSheetMessage(sheet, 2);
}

int misbehave(const std::string& what) {
    const std::string whole = steelMessage();
    if (what == "steel") {
        return send(whole) ? 0 : 1;
    }
    if (what == "crash") {
        send(whole.substr(0, whole.size() / 2));
        *static_cast<volatile int*>(nullptr) = 1;
    }
    if (what == "hang") {
        Sleep(INFINITE);
    }
    if (what == "flood") {
        const std::string block(65536, 'x');
        while (send(block)) {
        }
        return 1;
    }
    if (what == "half") {
        send(whole.substr(0, whole.size() / 2));
        return 0;
    }
    if (what == "status 3") {
        send(whole);
        return 3;
    }
    if (what == "garbage") {
        send("MZ\x90");
        return 0;
    }
    return send(encodeErrorMessage("given " + what)) ? 0 : 1;
}

}  // namespace

int main() {
    endQuietlyOnCrash();
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string what;
    if (!arguments || count != 3 || std::wstring_view(arguments[1]) != L"--read-workbook" ||
        !win32::encodeUtf8(arguments[2], what)) {
        return 2;
    }
    return misbehave(what);
}
