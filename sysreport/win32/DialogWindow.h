// Routes a dialog's messages to the C++ object that owns it.
#pragma once

#include <windows.h>

namespace sysreport::win32 {

// T has `HWND hwnd_` reachable from here and `INT_PTR handle(UINT, WPARAM, LPARAM)`;
// the object's address is the dialog's creation parameter.
template <typename T>
INT_PTR CALLBACK routeDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<T*>(lParam)->attach(dialog);
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->attach(nullptr);
    }
    return result;
}

// Sets the program's icon on a window, at the sizes its DPI asks for.
void setProgramIcon(HWND window);

}  // namespace sysreport::win32
