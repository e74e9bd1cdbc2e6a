#include "MainWindow.h"

#include "AboutBox.h"
#include "DialogWindow.h"
#include "OpenGlProbe.h"
#include "WinText.h"
#include "WindowTexts.h"
#include "resource.h"

namespace sysreport::win32 {
namespace {

constexpr TwipsRect kClient{0, 0, 7575, 3075};

// In the order of the form, which is the tab order: the address field, then
// the three buttons.
std::vector<ControlSpec> mainControls() {
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
    constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
    return {
        {IDC_LABEL1,
         WC_STATICW,
         texts::kInstructionsLabel,
         kLabel,
         0,
         {240, 780, 2000, 255},
         FontKind::Bold},
        {IDC_LABEL2, WC_STATICW, texts::kInstructions, kLabel, 0, {240, 1080, 7095, 780}},
        {IDC_LBL_EMAIL_TO, WC_STATICW, texts::kEmailToLabel, kLabel, 0, {240, 300, 975, 255}},
        {IDC_TXT_EMAIL_TO,
         WC_EDITW,
         MainBehaviour::defaultAddress(),
         ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
         WS_EX_CLIENTEDGE,
         {1260, 240, 6075, 315}},
        {IDC_CMD_SAVE_TO_FILE, WC_BUTTONW, texts::kSaveButton, kButton, 0, {240, 1980, 2295, 375}},
        {IDC_CMD_SENT_EMAIL, WC_BUTTONW, texts::kEmailButton, kButton, 0, {2655, 1980, 2295, 375}},
        {IDC_CMD_EXIT, WC_BUTTONW, texts::kExitButton, kButton, 0, {5865, 1980, 1470, 375}},
        {IDC_LBL_COMPUTER_RUNNING,
         WC_STATICW,
         texts::kSystemRunning,
         kLabel,
         0,
         {240, 2640, 7095, 255}},
    };
}

void appendItem(HMENU menu, UINT id, const char* text) {
    AppendMenuW(menu, MF_STRING, id, toWide(text).c_str());
}

void appendPopup(HMENU bar, HMENU popup, const char* text) {
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), toWide(text).c_str());
}

}  // namespace

HMENU makeMainMenu() {
    HMENU file = CreatePopupMenu();
    appendItem(file, IDM_SAVE, texts::kSaveItem);
    appendItem(file, IDM_EMAIL, texts::kEmailItem);
    appendItem(file, IDM_EXIT, texts::kExitItem);
    HMENU tools = CreatePopupMenu();
    appendItem(tools, IDM_CHANGE_DEFAULT, texts::kChangeDefaultItem);
    HMENU help = CreatePopupMenu();
    appendItem(help, IDM_SYS_INFO, texts::kAboutItem);
    HMENU bar = CreateMenu();
    appendPopup(bar, file, texts::kFileMenu);
    appendPopup(bar, tools, texts::kToolsMenu);
    appendPopup(bar, help, texts::kHelpMenu);
    return bar;
}

void setProgramIcon(HWND window) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const UINT dpi = windowDpi(window);
    for (const auto& [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int size = GetSystemMetricsForDpi(metric, dpi);
        auto icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_SYSREPORT), IMAGE_ICON, size, size,
                               LR_SHARED);
        SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

MainWindow::MainWindow(AppServices services, HINSTANCE instance)
    : instance_(instance),
      behaviour_(std::move(services), *this),
      changeDefault_(instance, behaviour_) {
    CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                       routeDialogMessage<MainWindow>, reinterpret_cast<LPARAM>(this));
}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void MainWindow::onInit() {
    setWindowText(hwnd_, behaviour_.caption());
    SetMenu(hwnd_, makeMainMenu());
    setProgramIcon(hwnd_);
    layout_.create(hwnd_, mainControls(), kClient);
    // The label keeps the uptime of start-up; the report computes its own.
    setWindowText(control(IDC_LBL_COMPUTER_RUNNING), behaviour_.uptimeText());
}

void MainWindow::onCommand(int id) {
    switch (id) {
        case IDC_CMD_SAVE_TO_FILE:
        case IDM_SAVE:
            behaviour_.viewSave();
            break;
        case IDC_CMD_SENT_EMAIL:
        case IDM_EMAIL:
            behaviour_.emailReport();
            break;
        case IDC_CMD_EXIT:
        case IDM_EXIT:
            DestroyWindow(hwnd_);
            break;
        case IDM_CHANGE_DEFAULT:
            changeDefault_.show(hwnd_);
            break;
        case IDM_SYS_INFO:
            showAbout();
            break;
        default:  // IDCANCEL from Escape: the window stays
            break;
    }
}

void MainWindow::showAbout() {
    AboutBox about(behaviour_.services().systemInfo, behaviour_.services().prompts);
    about.run(instance_, hwnd_);
}

INT_PTR MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        case WM_DPICHANGED:
            layout_.followDpiChange(wParam, lParam);
            setProgramIcon(hwnd_);
            return TRUE;
        default:
            return FALSE;
    }
}

std::string MainWindow::emailField() const {
    return windowText(control(IDC_TXT_EMAIL_TO));
}

void MainWindow::setEmailField(const std::string& text) {
    setWindowText(control(IDC_TXT_EMAIL_TO), text);
}

ScreenFacts MainWindow::screenFacts() const {
    HDC screen = GetDC(hwnd_);
    const ScreenFacts facts{GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES),
                            GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES)};
    ReleaseDC(hwnd_, screen);
    return facts;
}

OpenGlFacts MainWindow::openGlFacts() const {
    return probeOpenGl();
}

}  // namespace sysreport::win32
