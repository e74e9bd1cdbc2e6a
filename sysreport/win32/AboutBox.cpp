#include "AboutBox.h"

#include "AboutTexts.h"
#include "DialogWindow.h"
#include "WindowTexts.h"
#include "resource.h"

namespace sysreport::win32 {
namespace {

constexpr TwipsRect kClient{0, 0, 5730, 3690};

std::vector<ControlSpec> aboutControls(const AboutTexts& about) {
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
    // The buttons come first: they are the only tab stops, OK first.
    return {
        {IDOK,
         WC_BUTTONW,
         texts::kOkButton,
         BS_DEFPUSHBUTTON | WS_TABSTOP,
         0,
         {4245, 2820, 1260, 345}},
        {IDC_CMD_SYS_INFO,
         WC_BUTTONW,
         texts::kSystemInfoButton,
         BS_PUSHBUTTON | WS_TABSTOP,
         0,
         {4245, 3270, 1260, 345}},
        {IDC_PIC_ICON, WC_STATICW, "", SS_ICON | SS_CENTERIMAGE, 0, {240, 240, 540, 540}},
        {IDC_LBL_TITLE,
         WC_STATICW,
         about.title,
         kLabel,
         0,
         {1050, 240, 4440, 480},
         FontKind::Title},
        {IDC_LBL_VERSION, WC_STATICW, about.version, kLabel, 0, {1050, 780, 4440, 465}},
        {IDC_LBL_SUITE_VERSION, WC_STATICW, about.suite, kLabel, 0, {1050, 1320, 4440, 240}},
        {IDC_LBL_DESCRIPTION, WC_STATICW, about.description, kLabel, 0, {1050, 1620, 4440, 780}},
        {IDC_ABOUT_RULE, WC_STATICW, "", SS_ETCHEDHORZ, 0, {240, 2580, 5250, 30}},
        {IDC_LBL_DISCLAIMER, WC_STATICW, about.disclaimer, kLabel, 0, {255, 2820, 3870, 825}},
    };
}

}  // namespace

void AboutBox::run(HINSTANCE instance, HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, routeDialogMessage<AboutBox>,
                    reinterpret_cast<LPARAM>(this));
}

void AboutBox::onInit() {
    const AboutTexts about = aboutTexts();
    setWindowText(hwnd_, about.caption);
    layout_.create(hwnd_, aboutControls(about), kClient);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    const int size = GetSystemMetricsForDpi(SM_CXICON, windowDpi(hwnd_));
    auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_SYSREPORT), IMAGE_ICON, size, size, LR_SHARED));
    SendDlgItemMessageW(hwnd_, IDC_PIC_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

INT_PTR AboutBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInit();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:
                    EndDialog(hwnd_, IDOK);
                    return TRUE;
                case IDC_CMD_SYS_INFO:
                    startSystemInfo(systemInfo_, messages_);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_DPICHANGED:
            layout_.followDpiChange(wParam, lParam);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace sysreport::win32
