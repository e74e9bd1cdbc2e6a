#include "Win32BusyWait.h"

#include <windows.h>

namespace sysreport::win32 {
namespace {

constexpr DWORD kPollMilliseconds = 20;

// Message ranges that hold neither keyboard nor mouse messages.
struct MessageRange {
    UINT first;
    UINT last;
};
constexpr MessageRange kNonInputRanges[] = {
    {0, WM_KEYFIRST - 1}, {WM_KEYLAST + 1, WM_MOUSEFIRST - 1}, {WM_MOUSELAST + 1, 0xFFFFFFFF}};

// Dispatches what is queued apart from input; false once WM_QUIT came, which is
// posted again for the message loop that ends the program.
bool dispatchAllButInput() {
    MSG message;
    for (const MessageRange& range : kNonInputRanges) {
        while (PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

}  // namespace

void Win32BusyWait::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const HCURSOR busy = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR previous = SetCursor(busy);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMilliseconds,
                                  QS_PAINT | QS_TIMER | QS_POSTMESSAGE | QS_SENDMESSAGE);
        if (!dispatchAllButInput()) {
            break;
        }
        // A window's own cursor may have been set while painting.
        SetCursor(busy);
    }
    SetCursor(previous);
}

}  // namespace sysreport::win32
