#include "Win32Prompts.h"

#include "Version.h"
#include "WinText.h"

namespace sysreport::win32 {

HWND Win32Prompts::owner() const {
    // A box asked for from the about box belongs to the about box.
    HWND active = GetActiveWindow();
    return active != nullptr ? active : owner_;
}

void Win32Prompts::showMessage(const std::string& text) {
    inform(text, kAppTitle);
}

bool Win32Prompts::askYesNo(const std::string& text, const std::string& title) {
    return MessageBoxW(owner(), toWide(text).c_str(), toWide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32Prompts::inform(const std::string& text, const std::string& title) {
    MessageBoxW(owner(), toWide(text).c_str(), toWide(title).c_str(), MB_OK);
}

bool Win32Prompts::openFile(const std::string& path) {
    return shell_.execute(viewReportRequest(owner_, path));
}

}  // namespace sysreport::win32
