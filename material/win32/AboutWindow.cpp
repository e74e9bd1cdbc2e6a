#include "AboutWindow.h"

#include "resource.h"

namespace material::win32 {

namespace {

HWND openForm = nullptr;

// The form's grey, kept from the original look.
HBRUSH greyBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
    return brush;
}

HFONT boldTitleFont(HWND title) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(title, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 13 / 10;
    return CreateFontIndirectW(&font);
}

}  // namespace

HWND AboutWindow::show(HWND owner) {
    if (openForm == nullptr) {
        openForm = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                                      procedure, 0);
    }
    ShowWindow(openForm, SW_SHOW);
    SetForegroundWindow(openForm);
    return openForm;
}

HWND AboutWindow::current() {
    return openForm;
}

bool AboutWindow::translate(MSG& message) {
    return openForm != nullptr && IsDialogMessageW(openForm, &message);
}

INT_PTR CALLBACK AboutWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    static HFONT titleFont = nullptr;
    switch (message) {
        case WM_INITDIALOG: {
            HWND title = GetDlgItem(window, IDC_ABOUT_TITLE);
            titleFont = boldTitleFont(title);
            SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), FALSE);
            return TRUE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(192, 192, 192));
            return reinterpret_cast<INT_PTR>(greyBrush());
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(window);
            }
            return TRUE;
        case WM_DESTROY:
            openForm = nullptr;
            DeleteObject(titleFont);
            titleFont = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace material::win32
