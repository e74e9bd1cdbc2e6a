#include "OpenGlProbe.h"

#include <windows.h>

#include <GL/gl.h>

namespace sysreport::win32 {
namespace {

std::string glText(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text != nullptr ? std::string(text) : std::string();
}

// Reads the strings through a context on `dc`, which takes a pixel format for it.
OpenGlFacts readThrough(HDC dc) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    const int chosen = ChoosePixelFormat(dc, &format);
    if (chosen == 0 || !SetPixelFormat(dc, chosen, &format)) {
        return {};
    }
    HGLRC context = wglCreateContext(dc);
    if (context == nullptr) {
        return {};
    }
    OpenGlFacts facts;
    if (wglMakeCurrent(dc, context)) {
        facts = OpenGlFacts{glText(GL_RENDERER), glText(GL_VERSION)};
        wglMakeCurrent(nullptr, nullptr);
    }
    wglDeleteContext(context);
    return facts;
}

OpenGlFacts readOpenGl() {
    // A window of its own: a pixel format, once set, stays with the window.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return {};
    }
    HDC dc = GetDC(window);
    const OpenGlFacts facts = dc != nullptr ? readThrough(dc) : OpenGlFacts{};
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    DestroyWindow(window);
    return facts;
}

}  // namespace

OpenGlFacts probeOpenGl() {
    static const OpenGlFacts facts = readOpenGl();
    return facts;
}

}  // namespace sysreport::win32
