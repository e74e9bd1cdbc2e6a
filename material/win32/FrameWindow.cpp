#include "FrameWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "AboutWindow.h"
#include "WideText.h"
#include "app/FrameRules.h"
#include "resource.h"
#include "ui/platform/HelpPaths.h"

namespace material::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"MDIForm1";
constexpr int kToolbarImageSize = 24;
constexpr int kFirstChildId = 50000;

// The toolbar's eight items in their order; images index into the frame's image list
// (new, open, save, delete, help), -1 marks a separator.
struct ToolbarItem {
    int command;
    int image;
};
constexpr std::array<ToolbarItem, 8> kToolbarItems{{
    {0, -1},
    {ID_TOOLBAR_NEW, 0},
    {ID_TOOLBAR_OPEN, 1},
    {ID_TOOLBAR_SAVE, 2},
    {0, -1},
    {ID_TOOLBAR_DELETE, 3},
    {0, -1},
    {ID_TOOLBAR_HELP, 4},
}};

// Whether a bar is switched on, whether or not the frame itself is shown yet
// (IsWindowVisible also looks at the parents).
bool isSwitchedOn(HWND bar) {
    return (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
}

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

HIMAGELIST createToolbarImages() {
    HIMAGELIST images = ImageList_Create(kToolbarImageSize, kToolbarImageSize, ILC_COLOR32, 5, 0);
    auto* newPicture = static_cast<HBITMAP>(
        LoadImageW(instance(), MAKEINTRESOURCEW(IDB_NEW), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ImageList_Add(images, newPicture, nullptr);
    DeleteObject(newPicture);
    for (int icon : {IDI_OPEN, IDI_SAVE, IDI_DELETE, IDI_HELP}) {
        auto* picture =
            static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                          kToolbarImageSize, kToolbarImageSize, 0));
        ImageList_AddIcon(images, picture);
        DestroyIcon(picture);
    }
    return images;
}

// A 32-bit picture with its colours multiplied by their alpha, as AlphaBlend wants them.
HBITMAP loadBlendableBitmap(int id) {
    auto* picture = static_cast<HBITMAP>(
        LoadImageW(instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION section{};
    if (picture == nullptr || GetObjectW(picture, sizeof section, &section) != sizeof section ||
        section.dsBm.bmBitsPixel != 32) {
        return picture;
    }
    auto* pixel = static_cast<BYTE*>(section.dsBm.bmBits);
    const long count = static_cast<long>(section.dsBm.bmWidth) * section.dsBm.bmHeight;
    for (long i = 0; i < count; ++i, pixel += 4) {
        for (int channel = 0; channel < 3; ++channel) {
            pixel[channel] = static_cast<BYTE>(pixel[channel] * pixel[3] / 255);
        }
    }
    return picture;
}

std::string programFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return narrow(folder);
}

}  // namespace

FrameWindow::FrameWindow(FrameCommands& commands, std::unique_ptr<HelpViewer> helpViewer,
                         std::function<void()> closed)
    : commands_(commands),
      helpViewer_(helpViewer ? std::move(helpViewer) : createHtmlHelpViewer()),
      closed_(std::move(closed)) {
    const INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX),
        ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    create();
}

FrameWindow::~FrameWindow() {
    if (window_ != nullptr) {
        closed_ = nullptr;
        DestroyWindow(window_);
    }
    if (AboutWindow::current() != nullptr) {
        DestroyWindow(AboutWindow::current());
    }
    ImageList_Destroy(imageList_);
    DeleteObject(workspaceBrush_);
    DestroyAcceleratorTable(accelerators_);
}

void FrameWindow::create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance(), kWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance();
        windowClass.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(IDI_CLOSEDBOOK));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExW(&windowClass);
    }
    frameMenu_ = LoadMenuW(instance(), MAKEINTRESOURCEW(IDR_FRAME_MENU));
    accelerators_ = LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_FRAME_ACCELERATORS));
    CreateWindowExW(0, kWindowClass, loadString(IDS_FRAME_TITLE).c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, frameMenu_, instance(), this);
}

LRESULT CALLBACK FrameWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* frame =
            static_cast<FrameWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        frame->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
    }
    auto* frame = reinterpret_cast<FrameWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (frame == nullptr) {
        return DefFrameProcW(window, nullptr, message, wParam, lParam);
    }
    return frame->handle(message, wParam, lParam);
}

LRESULT FrameWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = window_;  // cleared on WM_NCDESTROY, still needed for the default handling
    switch (message) {
        case WM_CREATE: {
            CLIENTCREATESTRUCT clientCreate{nullptr, kFirstChildId};
            client_ =
                // Any child style: a library window is built hidden and shown once filled.
                CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE |
                                    MDIS_ALLCHILDSTYLES,
                                0, 0, 0, 0, window_, nullptr, instance(), &clientCreate);
            workspaceBrush_ = CreateSolidBrush(RGB(128, 128, 128));
            SetClassLongPtrW(client_, GCLP_HBRBACKGROUND,
                             reinterpret_cast<LONG_PTR>(workspaceBrush_));
            placeOnScreen();
            buildToolbar();
            buildStatusBar();
            setLibraryButtonsEnabled(false);
            SetTimer(window_, kTimerId, kTimerIntervalMs, nullptr);
            // A hidden window gets no WM_SIZE until shown: lay out now.
            layout();
            return 0;
        }
        case WM_SIZE:
            layout();
            return 0;
        case WM_COMMAND:
            // The frame's own commands come from its menu, accelerators and toolbar; the
            // rest belong to the active library window (an MDI frame does not pass them on
            // by itself).
            if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolbar_) {
                if (onCommand(LOWORD(wParam))) {
                    return 0;
                }
                HWND active = reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0));
                if (active != nullptr && LOWORD(wParam) < kFirstChildId) {
                    SendMessageW(active, WM_COMMAND, wParam, lParam);
                    return 0;
                }
            }
            break;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM:
            drawAnimation(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kTimerId) {
                onTimerTick();
            }
            return 0;
        case WM_ACTIVATE:
            // A message box or another program taking over keeps the control that had the
            // focus; coming back gives it the focus again, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                savedFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : nullptr;
            } else if (savedFocus_ != nullptr && IsWindow(savedFocus_) &&
                       IsWindowVisible(savedFocus_)) {
                SetFocus(savedFocus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (commands_.closeLibraryWindow()) {
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kTimerId);
            return 0;
        case WM_NCDESTROY: {
            window_ = nullptr;
            auto closed = std::move(closed_);
            if (closed) {
                closed();
            }
            break;
        }
        default:
            break;
    }
    return DefFrameProcW(self, client_, message, wParam, lParam);
}

void FrameWindow::placeOnScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const auto rect = [](const RECT& r) {
        return ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    HDC screen = GetDC(nullptr);
    const double dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const double dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const ScreenRect place =
        FramePlacement(rect(monitor.rcMonitor), rect(monitor.rcWork), dpiX, dpiY);
    SetWindowPos(window_, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrameWindow::buildToolbar() {
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0,
                               0, 0, 0, window_, nullptr, instance(), nullptr);
    SetWindowTextW(toolbar_, L"Toolbar1");
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    imageList_ = createToolbarImages();
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_));
    std::array<TBBUTTON, kToolbarItems.size()> buttons{};
    for (size_t i = 0; i < kToolbarItems.size(); ++i) {
        const ToolbarItem& item = kToolbarItems[i];
        buttons[i].iBitmap = item.image < 0 ? 0 : item.image;
        buttons[i].idCommand = item.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = item.image < 0 ? BTNS_SEP : BTNS_BUTTON;
        buttons[i].iString = -1;
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void FrameWindow::buildStatusBar() {
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, window_, nullptr, instance(), nullptr);
    SetWindowTextW(statusBar_, L"StatusBar1");
    int right = -1;  // the one panel (the text's panel1) fills the bar
    SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    SendMessageW(statusBar_, SB_SETMINHEIGHT, kAnimationSize + 4, 0);
    SendMessageW(statusBar_, SB_SETTEXTW, SBT_OWNERDRAW, 0);
}

void FrameWindow::layout() {
    if (client_ == nullptr || toolbar_ == nullptr || statusBar_ == nullptr) {
        return;
    }
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT area{};
    GetClientRect(window_, &area);
    if (isSwitchedOn(toolbar_)) {
        RECT bar{};
        GetWindowRect(toolbar_, &bar);
        area.top += bar.bottom - bar.top;
    }
    if (isSwitchedOn(statusBar_)) {
        RECT bar{};
        GetWindowRect(statusBar_, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    MoveWindow(client_, area.left, area.top, area.right - area.left,
               std::max(0L, area.bottom - area.top), TRUE);
}

void FrameWindow::setLibraryButtonsEnabled(bool enabled) {
    for (int command : {ID_TOOLBAR_SAVE, ID_TOOLBAR_DELETE}) {
        SendMessageW(toolbar_, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
    }
}

bool FrameWindow::toggleToolbar() {
    // By the bar's own state, not by any menu tick.
    const bool shown = !isSwitchedOn(toolbar_);
    ShowWindow(toolbar_, shown ? SW_SHOW : SW_HIDE);
    layout();
    return shown;
}

bool FrameWindow::toggleStatusBar() {
    const bool shown = !isSwitchedOn(statusBar_);
    ShowWindow(statusBar_, shown ? SW_SHOW : SW_HIDE);
    layout();
    return shown;
}

void FrameWindow::showMenu(HMENU menu) {
    HMENU shown = menu ? menu : frameMenu_;
    if (GetMenu(window_) == shown) {
        return;  // redrawing the menu bar costs more than anything else here
    }
    SendMessageW(client_, WM_MDISETMENU, reinterpret_cast<WPARAM>(shown), 0);
    DrawMenuBar(window_);
}

bool FrameWindow::onCommand(int id) {
    switch (id) {
        case ID_FILE_NEW:
        case ID_TOOLBAR_NEW:
            commands_.newLibrary();
            break;
        case ID_FILE_OPEN:
        case ID_TOOLBAR_OPEN:
            commands_.openLibrary();
            break;
        case ID_TOOLBAR_SAVE:
            SaveFromToolbar(commands_);
            break;
        case ID_TOOLBAR_DELETE:
            commands_.deleteMaterial();
            break;
        case ID_TOOLBAR_HELP:
            showFolderHelp();
            break;
        case ID_FILE_EXIT:
            // Reachable only while no library window is open, so nothing is left unsaved.
            PostMessageW(window_, WM_CLOSE, 0, 0);
            break;
        case ID_HELP_TOPICS:
            showInstallationHelp();
            break;
        case ID_HELP_ABOUT:
            AboutWindow::show(window_);
            break;
        default:
            return false;
    }
    return true;
}

LRESULT FrameWindow::onNotify(const NMHDR& header) {
    if (header.code == TTN_GETDISPINFOW) {
        auto& tip = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        tip.hinst = instance();
        tip.lpszText = MAKEINTRESOURCEW(header.idFrom);
    }
    return 0;
}

void FrameWindow::onTimerTick() {
    const int picture = animation_.tick();
    if (picture == 0) {
        return;
    }
    shownFrame_ = picture;
    InvalidateRect(statusBar_, nullptr, TRUE);
}

void FrameWindow::drawAnimation(const DRAWITEMSTRUCT& item) const {
    if (item.hwndItem != statusBar_ || shownFrame_ == 0) {
        return;
    }
    HBITMAP picture = loadBlendableBitmap(shownFrame_);
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, picture);
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - kAnimationSize) / 2;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(item.hDC, item.rcItem.left + 2, top, kAnimationSize, kAnimationSize, source, 0, 0,
                  size.bmWidth, size.bmHeight, blend);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(picture);
}

void FrameWindow::showFolderHelp() {
    helpViewer_->displayHelpFile(folderHelpPath(programFolder()));
}

void FrameWindow::showInstallationHelp() {
    const wchar_t* installation = _wgetenv(widen(kInstallationVariable).c_str());
    helpViewer_->displayHelpFile(installationHelpPath(installation ? narrow(installation) : ""));
}

namespace {

// Ctrl with A, C, V, X, Y or Z typed into a text field edits the text: the field keeps
// those keys, as text fields do everywhere.
bool isTextEditingKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    switch (message.wParam) {
        case 'A':
        case 'C':
        case 'V':
        case 'X':
        case 'Y':
        case 'Z':
            break;
        default:
            return false;
    }
    wchar_t name[16] = {};
    GetClassNameW(message.hwnd, name, 16);
    return lstrcmpiW(name, WC_EDITW) == 0;
}

}  // namespace

bool FrameWindow::translate(MSG& message) {
    if (AboutWindow::translate(message) || TranslateMDISysAccel(client_, &message)) {
        return true;
    }
    if (!isTextEditingKey(message) && TranslateAcceleratorW(window_, accelerators(), &message)) {
        return true;
    }
    return dialogWindow_ != nullptr && IsWindow(dialogWindow_) &&
           IsDialogMessageW(dialogWindow_, &message);
}

int FrameWindow::runMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (translate(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace material::win32
