#include "TwipsLayout.h"

#include "WinText.h"

namespace sysreport::win32 {
namespace {

// The forms' font: 8 point, a larger bold one for the about box's title.
constexpr int kFontPoints = 8;
constexpr int kTitlePoints = 12;

HFONT makeFont(int points, int weight, UINT dpi) {
    return CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, weight, FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
}

void sizeClientArea(HWND window, const TwipsRect& client, UINT dpi) {
    RECT frame{0, 0, twipsToPixels(client.width, dpi), twipsToPixels(client.height, dpi)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, GetMenu(window) != nullptr, exStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

RECT pixelsOf(const TwipsRect& place, UINT dpi) {
    const int left = twipsToPixels(place.left, dpi);
    const int top = twipsToPixels(place.top, dpi);
    return RECT{left, top, left + twipsToPixels(place.width, dpi),
                top + twipsToPixels(place.height, dpi)};
}

UINT windowDpi(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : GetDpiForSystem();
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return fromWide(text);
}

void setWindowText(HWND window, const std::string& text) {
    SetWindowTextW(window, toWide(text).c_str());
}

TwipsLayout::~TwipsLayout() {
    freeFonts();
}

void TwipsLayout::create(HWND window, const std::vector<ControlSpec>& controls, TwipsRect client) {
    window_ = window;
    client_ = client;
    const UINT dpi = windowDpi(window);
    makeFonts(dpi);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (const ControlSpec& spec : controls) {
        const RECT at = pixelsOf(spec.place, dpi);
        HWND control = CreateWindowExW(spec.exStyle, spec.windowClass, toWide(spec.text).c_str(),
                                       WS_CHILD | WS_VISIBLE | spec.style, at.left, at.top,
                                       at.right - at.left, at.bottom - at.top, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                       instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font(spec.font)), FALSE);
        controls_.emplace_back(control, spec);
    }
    sizeClientArea(window, client_, dpi);
}

void TwipsLayout::applyDpi(UINT dpi) {
    makeFonts(dpi);
    for (const auto& [control, spec] : controls_) {
        const RECT at = pixelsOf(spec.place, dpi);
        SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font(spec.font)), TRUE);
    }
    sizeClientArea(window_, client_, dpi);
}

void TwipsLayout::followDpiChange(WPARAM wParam, LPARAM lParam) {
    applyDpi(HIWORD(wParam));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT TwipsLayout::font(FontKind kind) const {
    switch (kind) {
        case FontKind::Bold:
            return bold_;
        case FontKind::Title:
            return title_;
        case FontKind::Normal:
            break;
    }
    return normal_;
}

void TwipsLayout::makeFonts(UINT dpi) {
    // The old fonts stay selected until the controls have the new ones.
    HFONT oldNormal = normal_, oldBold = bold_, oldTitle = title_;
    normal_ = makeFont(kFontPoints, FW_NORMAL, dpi);
    bold_ = makeFont(kFontPoints, FW_BOLD, dpi);
    title_ = makeFont(kTitlePoints, FW_BOLD, dpi);
    for (const auto& [control, spec] : controls_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font(spec.font)), FALSE);
    }
    for (HFONT old : {oldNormal, oldBold, oldTitle}) {
        if (old != nullptr) {
            DeleteObject(old);
        }
    }
}

void TwipsLayout::freeFonts() {
    for (HFONT* f : {&normal_, &bold_, &title_}) {
        if (*f != nullptr) {
            DeleteObject(*f);
            *f = nullptr;
        }
    }
}

}  // namespace sysreport::win32
