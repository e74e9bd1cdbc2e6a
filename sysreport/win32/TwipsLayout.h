// Controls placed in twips, as the forms give them, and converted to pixels at
// the window's DPI (1440 twips to the inch), again whenever the DPI changes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace sysreport::win32 {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT pixelsOf(const TwipsRect& place, UINT dpi);

enum class FontKind { Normal, Bold, Title };

struct ControlSpec {
    int id;
    const wchar_t* windowClass;  // WC_STATIC, WC_EDIT, WC_BUTTON
    std::string text;            // UTF-8
    DWORD style;                 // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    TwipsRect place;
    FontKind font = FontKind::Normal;
};

// The controls of one window, created in the order given (which is the tab
// order), with fonts made for the window's DPI.
class TwipsLayout {
  public:
    TwipsLayout() = default;
    ~TwipsLayout();
    TwipsLayout(const TwipsLayout&) = delete;
    TwipsLayout& operator=(const TwipsLayout&) = delete;

    // Creates the controls and sizes `window`'s client area to `client`.
    void create(HWND window, const std::vector<ControlSpec>& controls, TwipsRect client);
    // Places everything again for `dpi` (WM_DPICHANGED).
    void applyDpi(UINT dpi);
    // WM_DPICHANGED: places everything for the new DPI where the system suggests.
    void followDpiChange(WPARAM wParam, LPARAM lParam);

  private:
    HFONT font(FontKind kind) const;
    void makeFonts(UINT dpi);
    void freeFonts();

    HWND window_ = nullptr;
    TwipsRect client_;
    std::vector<std::pair<HWND, ControlSpec>> controls_;
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
    HFONT title_ = nullptr;
};

// The DPI of a window, or of the system before the window exists.
UINT windowDpi(HWND window);

// Text of a window as UTF-8, and back.
std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& text);

}  // namespace sysreport::win32
