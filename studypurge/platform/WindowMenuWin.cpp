#include <windows.h>

#include <string>

#include "WindowMenu.h"

namespace spdialog {

bool hasWindowMenu() {
    return true;
}

bool appendAboutItem(void* window, std::u16string_view text) {
    HMENU menu = GetSystemMenu(static_cast<HWND>(window), FALSE);
    if (menu == nullptr || text.empty()) {
        return false;
    }
    const std::wstring item(text.begin(), text.end());
    return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) &&
           AppendMenuW(menu, MF_STRING, kAboutCommandId, item.c_str());
}

bool isAboutCommand(const void* nativeMessage) {
    const auto* msg = static_cast<const MSG*>(nativeMessage);
    return msg != nullptr && msg->message == WM_SYSCOMMAND && isAboutCommandId(msg->wParam);
}

}  // namespace spdialog
