#include "ChangeDefaultDialog.h"

#include "DialogWindow.h"
#include "WindowTexts.h"
#include "resource.h"

namespace sysreport::win32 {
namespace {

constexpr TwipsRect kClient{0, 0, 4695, 1395};

std::vector<ControlSpec> changeDefaultControls() {
    return {
        {IDC_LBL_DEFAULT_EMAIL,
         WC_STATICW,
         texts::kDefaultEmailLabel,
         SS_LEFT | SS_NOPREFIX,
         0,
         {240, 300, 1215, 255}},
        {IDC_TXT_DEFAULT_EMAIL,
         WC_EDITW,
         MainBehaviour::defaultAddress(),
         ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
         WS_EX_CLIENTEDGE,
         {1500, 240, 2955, 315}},
        {IDOK,
         WC_BUTTONW,
         texts::kOkButton,
         BS_DEFPUSHBUTTON | WS_TABSTOP,
         0,
         {1980, 840, 1155, 375}},
        {IDC_CMD_CANCEL,
         WC_BUTTONW,
         texts::kCancelButton,
         BS_PUSHBUTTON | WS_TABSTOP,
         0,
         {3300, 840, 1155, 375}},
    };
}

}  // namespace

ChangeDefaultDialog::~ChangeDefaultDialog() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void ChangeDefaultDialog::show(HWND owner) {
    if (hwnd_ == nullptr) {
        CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_CHANGE_DEFAULT), owner,
                           routeDialogMessage<ChangeDefaultDialog>, reinterpret_cast<LPARAM>(this));
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void ChangeDefaultDialog::onInit() {
    setWindowText(hwnd_, texts::kChangeDefaultCaption);
    layout_.create(hwnd_, changeDefaultControls(), kClient);
}

void ChangeDefaultDialog::onCommand(int id) {
    switch (id) {
        case IDOK:
            behaviour_.changeDefaultOk(windowText(GetDlgItem(hwnd_, IDC_TXT_DEFAULT_EMAIL)));
            DestroyWindow(hwnd_);
            break;
        case IDC_CMD_CANCEL:
            behaviour_.changeDefaultCancel();
            DestroyWindow(hwnd_);
            break;
        case IDCANCEL:  // Escape or the close box: the address stays as it is
            DestroyWindow(hwnd_);
            break;
        default:
            break;
    }
}

INT_PTR ChangeDefaultDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInit();
            return TRUE;
        case WM_COMMAND:
            onCommand(LOWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(hwnd_);
            return TRUE;
        case WM_DPICHANGED:
            layout_.followDpiChange(wParam, lParam);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace sysreport::win32
