// Renders a window of sysreport.exe to a PNG file, each control through
// WM_PRINT into a bitmap of its own, put together on the frame; this works
// without a display (Wine's null driver included):
//   sysreport_render.exe OUTPUT.png [main|change|about]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "Program.h"
#include "resource.h"

namespace {

// 32-bit top-down pixels of a window-sized canvas.
class Canvas {
  public:
    Canvas(HDC reference, int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(reference);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* bgra() const { return static_cast<const std::uint8_t*>(bits_); }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

void printInto(HWND window, HDC dc) {
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
}

struct Composition {
    HWND window;
    Canvas* canvas;
};

BOOL CALLBACK printChild(HWND child, LPARAM parameter) {
    const auto* target = reinterpret_cast<Composition*>(parameter);
    RECT outer, inner;
    GetWindowRect(target->window, &outer);
    GetWindowRect(child, &inner);
    const int x = inner.left - outer.left, y = inner.top - outer.top;
    Canvas part(target->canvas->dc(), inner.right - inner.left, inner.bottom - inner.top);
    // What the control leaves unpainted (Wine prints no client edge) keeps the
    // window's own pixels.
    BitBlt(part.dc(), 0, 0, part.width(), part.height(), target->canvas->dc(), x, y, SRCCOPY);
    printInto(child, part.dc());
    BitBlt(target->canvas->dc(), x, y, part.width(), part.height(), part.dc(), 0, 0, SRCCOPY);
    return TRUE;
}

// A PNG with stored (uncompressed) deflate blocks: small code, files of a few
// hundred kilobytes, which is fine for a screenshot.
class PngWriter {
  public:
    static std::string encode(const Canvas& canvas) {
        std::string raw;
        for (int y = 0; y < canvas.height(); ++y) {
            raw += '\0';  // filter: none
            const std::uint8_t* row = canvas.bgra() + std::size_t(y) * canvas.width() * 4;
            for (int x = 0; x < canvas.width(); ++x) {
                raw += char(row[x * 4 + 2]);
                raw += char(row[x * 4 + 1]);
                raw += char(row[x * 4 + 0]);
            }
        }
        std::string header = be32(canvas.width()) + be32(canvas.height());
        header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
        return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
               chunk("IDAT", zlibStored(raw)) + chunk("IEND", "");
    }

  private:
    static std::string be32(std::uint32_t v) {
        return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    }
    static std::uint32_t crc(const std::string& data) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (unsigned char byte : data) {
            c ^= byte;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
        }
        return c ^ 0xFFFFFFFFu;
    }
    static std::string chunk(const char* type, const std::string& data) {
        const std::string body = type + data;
        return be32(std::uint32_t(data.size())) + body + be32(crc(body));
    }
    static std::string zlibStored(const std::string& data) {
        std::string out("\x78\x01", 2);
        std::uint32_t a = 1, b = 0;
        for (unsigned char byte : data) {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        for (std::size_t at = 0; at < data.size() || at == 0; at += 65535) {
            const std::size_t length = std::min<std::size_t>(65535, data.size() - at);
            const bool last = at + length >= data.size();
            out += char(last ? 1 : 0);
            out += char(length & 0xFF);
            out += char(length >> 8);
            out += char(~length & 0xFF);
            out += char((~length >> 8) & 0xFF);
            out += data.substr(at, length);
            if (last) {
                break;
            }
        }
        return out + be32((b << 16) | a);
    }
};

// Writes `window`, shown, as a PNG file; false when the file cannot be written.
bool renderWindow(HWND window, const std::filesystem::path& output) {
    // Shown, the frame draws its caption and menu bar too; the null driver
    // puts nothing on a screen.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    RECT frame;
    GetWindowRect(window, &frame);
    HDC screen = GetDC(nullptr);
    Canvas canvas(screen, frame.right - frame.left, frame.bottom - frame.top);
    ReleaseDC(nullptr, screen);
    // Wine's WM_PRINT leaves out the caption and the menu bar: the frame comes
    // from the window's own device context, which the null driver keeps too.
    HDC windowDc = GetWindowDC(window);
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    // The controls: each printed on its own and put in its place.
    Composition composition{window, &canvas};
    EnumChildWindows(window, printChild, reinterpret_cast<LPARAM>(&composition));
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << PngWriter::encode(canvas);
    return static_cast<bool>(file);
}

// The about box is modal: it is rendered from a timer inside its own loop.
struct AboutRendering {
    std::filesystem::path output;
    HWND owner = nullptr;
    bool written = false;
};
AboutRendering* aboutRendering = nullptr;

BOOL CALLBACK renderAboutBox(HWND window, LPARAM) {
    if (window == aboutRendering->owner || !IsWindowVisible(window)) {
        return TRUE;
    }
    aboutRendering->written = renderWindow(window, aboutRendering->output);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK onAboutTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), renderAboutBox, 0);
}

}  // namespace

// sysreport_render OUTPUT.png [main|change|about]
int wmain(int argc, wchar_t** argv) {
    const std::wstring which = argc == 3 ? argv[2] : L"main";
    if (argc < 2 || argc > 3 || (which != L"main" && which != L"change" && which != L"about")) {
        std::fputs("usage: sysreport_render OUTPUT.png [main|change|about]\n", stderr);
        return 2;
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    sysreport::win32::PlatformServices platform;
    sysreport::win32::MainWindow window(platform.services(), GetModuleHandleW(nullptr));
    const std::filesystem::path output(argv[1]);
    if (which == L"change") {
        window.changeDefault().show(window.hwnd());
        return renderWindow(window.changeDefault().hwnd(), output) ? 0 : 1;
    }
    if (which == L"about") {
        AboutRendering rendering{output, window.hwnd(), false};
        aboutRendering = &rendering;
        SetTimer(nullptr, 0, 50, onAboutTimer);
        SendMessageW(window.hwnd(), WM_COMMAND, IDM_SYS_INFO, 0);
        return rendering.written ? 0 : 1;
    }
    return renderWindow(window.hwnd(), output) ? 0 : 1;
}
