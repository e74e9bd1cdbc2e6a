#include <windows.h>

#include <string>

#include "ui/platform/HelpViewer.h"

namespace material {

namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC: the file's default topic

using HtmlHelpWFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

class HtmlHelpViewer final : public HelpViewer {
  public:
    void displayHelpFile(const std::string& path) override {
        const HtmlHelpWFunction htmlHelp = entryPoint();
        if (htmlHelp == nullptr) {
            return;  // no viewer installed: like a missing file, nothing to report
        }
        const std::wstring widePath = widen(path);
        htmlHelp(nullptr, widePath.c_str(), kDisplayTopic, 0);
    }

  private:
    // The library stays loaded for the rest of the run: the viewer window it opens
    // lives on after the call returns.
    HtmlHelpWFunction entryPoint() {
        if (!triedLoading_) {
            triedLoading_ = true;
            if (HMODULE module = LoadLibraryW(L"hhctrl.ocx")) {
                function_ = reinterpret_cast<HtmlHelpWFunction>(
                    reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")));
            }
        }
        return function_;
    }

    bool triedLoading_ = false;
    HtmlHelpWFunction function_ = nullptr;
};

}  // namespace

std::unique_ptr<HelpViewer> createHtmlHelpViewer() {
    return std::make_unique<HtmlHelpViewer>();
}

}  // namespace material
