#include "Shell.h"

#include <shellapi.h>

#include "WinText.h"

namespace sysreport::win32 {
namespace {

const wchar_t* orNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

class SystemShell : public Shell {
  public:
    bool execute(const ShellRequest& request) override {
        // The shell tells the user nothing when no program is registered, so the
        // caller has to; values up to 32 are errors.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(request.owner, orNull(request.verb), request.target.c_str(), nullptr,
                          orNull(request.directory), request.show));
        return result > 32;
    }
};

}  // namespace

std::unique_ptr<Shell> makeSystemShell() {
    return std::make_unique<SystemShell>();
}

ShellRequest viewReportRequest(HWND owner, const std::string& reportPath) {
    return ShellRequest{owner, L"", toWide(reportPath), L"C:\\", SW_SHOWNORMAL};
}

ShellRequest mailLinkRequest(const std::string& link) {
    return ShellRequest{nullptr, L"open", toWide(link), L"", SW_SHOW};
}

void ShellMailClient::openMailLink(const std::string& link) {
    shell_.execute(mailLinkRequest(link));
}

}  // namespace sysreport::win32
