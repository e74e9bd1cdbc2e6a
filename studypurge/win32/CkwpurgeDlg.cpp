#include "CkwpurgeDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>

#include "CAboutDlg.h"
#include "WideText.h"
#include "WindowMenu.h"
#include "WindowPlacement.h"
#include "resource.h"

namespace spwin {
namespace {

struct TickBinding {
    int controlId;
    bool spapp::DialogData::*member;
};

// Exchange order: Simulation, Motion, Quiklet, Flow, Sustainability (after the path).
constexpr std::array<TickBinding, 5> kTicks = {{
    {IDC_CLEAN_SIMULATION, &spapp::DialogData::cleanSimulation},
    {IDC_CLEAN_MOTION, &spapp::DialogData::cleanMotion},
    {IDC_CLEAN_QUIKLET, &spapp::DialogData::cleanSimulationQuiklet},
    {IDC_CLEAN_FLOW, &spapp::DialogData::cleanFlow},
    {IDC_CLEAN_SUSTAINABILITY, &spapp::DialogData::cleanSustainability},
}};

std::wstring controlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

// A string-table entry; empty when there is none.
std::wstring resourceString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// The width a static text or check box needs to show its whole text on one line.
int neededWidth(HWND control) {
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"Button") == 0) {
        SIZE ideal = {};
        return SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))
                   ? ideal.cx
                   : 0;
    }
    const std::wstring text = controlText(GetParent(control), GetDlgCtrlID(control));
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT extent = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.right;
}

// Fonts other than the one the layout was drawn for can be a little wider; a text
// control then grows to the right (where nothing lies), up to the dialog's edge,
// rather than clip its text.
void widenToFitText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    RECT client;
    GetClientRect(dialog, &client);
    const int wanted = std::min<int>(neededWidth(control), client.right - place.left);
    if (wanted > place.right - place.left) {
        SetWindowPos(control, nullptr, 0, 0, wanted, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

constexpr int kFixedTexts[] = {IDC_CHOOSE_LABEL,        IDC_PRODUCTS_LABEL, IDC_CLEAN_SIMULATION,
                               IDC_CLEAN_QUIKLET,       IDC_CLEAN_MOTION,   IDC_CLEAN_FLOW,
                               IDC_CLEAN_SUSTAINABILITY};

HICON loadProgramIcon(HINSTANCE instance, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_DEFAULTCOLOR));
}

}  // namespace

CkwpurgeDlg::CkwpurgeDlg(HINSTANCE instance, spapp::DialogServices services)
    : instance_(instance),
      icon_(loadProgramIcon(instance, SM_CXICON, SM_CYICON)),
      smallIcon_(loadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON)),
      controller_(*this, std::move(services)) {}

CkwpurgeDlg::~CkwpurgeDlg() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
    DestroyIcon(icon_);
    DestroyIcon(smallIcon_);
}

INT_PTR CkwpurgeDlg::DoModal(HWND owner) {
    modal_ = true;
    result_ = 0;
    return DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_KWPURGE_DIALOG), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CkwpurgeDlg::Create(HWND owner) {
    modal_ = false;
    result_ = 0;
    return CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_KWPURGE_DIALOG), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CkwpurgeDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CkwpurgeDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CkwpurgeDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        dialog->window_ = nullptr;
        return FALSE;
    }
    return dialog->handle(message, wParam, lParam);
}

INT_PTR CkwpurgeDlg::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(smallIcon_);
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
    }
}

BOOL CkwpurgeDlg::OnInitDialog() {
    const std::wstring about = resourceString(instance_, IDS_ABOUTBOX);
    if (!about.empty()) {
        spdialog::appendAboutItem(window_, std::u16string(about.begin(), about.end()));
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    for (int id : kFixedTexts) {
        widenToFitText(window_, id);
    }
    controller_.updateData(false);
    centerWindow(window_);
    return TRUE;
}

bool CkwpurgeDlg::OnSysCommand(WPARAM command) {
    // Handled commands return true; the rest go to the default handling.
    return controller_.OnSysCommand(static_cast<unsigned>(command));
}

bool CkwpurgeDlg::OnPaint() {
    if (!IsIconic(window_)) {
        return false;
    }
    // Minimised: the icon centred in the client area.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &paint);
    return true;
}

bool CkwpurgeDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_BROWSE:
            controller_.OnBrowse();
            return true;
        case IDC_HELP_BUTTON:
            controller_.OnHelp();
            return true;
        case IDC_CLEAN_FILE:
            controller_.OnCleanFile();
            return true;
        case IDOK:      // Enter: the dialog has no OK button, the command ends it
        case IDCANCEL:  // "Close", Escape and the close box
            endDialog(id);
            return true;
        default:
            return false;
    }
}

void CkwpurgeDlg::endDialog(INT_PTR result) {
    result_ = result;
    if (modal_) {
        EndDialog(window_, result);
    } else {
        DestroyWindow(window_);
    }
}

spapp::DialogData CkwpurgeDlg::controlValues() const {
    spapp::DialogData data;
    data.filePath = toUtf8(controlText(window_, IDC_FILE_PATH));
    for (const TickBinding& tick : kTicks) {
        data.*tick.member = IsDlgButtonChecked(window_, tick.controlId) == BST_CHECKED;
    }
    return data;
}

void CkwpurgeDlg::showControlValues(const spapp::DialogData& data) {
    showFilePath(data.filePath);
    for (const TickBinding& tick : kTicks) {
        CheckDlgButton(window_, tick.controlId, data.*tick.member ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CkwpurgeDlg::showFilePath(const std::string& path) {
    // Members set before the window exists are shown by OnInitDialog.
    if (window_ == nullptr) {
        return;
    }
    SetDlgItemTextW(window_, IDC_FILE_PATH, toWide(path).c_str());
}

void CkwpurgeDlg::setStatusLine(const std::string& text) {
    SetDlgItemTextW(window_, IDC_STATUS_LINE, toWide(text).c_str());
    widenToFitText(window_, IDC_STATUS_LINE);
}

void CkwpurgeDlg::showAboutBox() {
    CAboutDlg(instance_).DoModal(window_);
}

}  // namespace spwin
