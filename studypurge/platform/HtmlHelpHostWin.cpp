#include <windows.h>

#include <string>

#include "HtmlHelpViewer.h"

namespace spdialog {
namespace {

using HtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string toU16(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

// Reads the key's default string value. Stored strings need not carry a terminator,
// so one is set here; a value longer than kMaxPathChars characters counts as missing.
std::optional<std::wstring> readDefaultString(HKEY key, DWORD& type) {
    wchar_t value[kMaxPathChars + 2] = {};
    DWORD bytes = (kMaxPathChars + 1) * sizeof(wchar_t);
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return std::nullopt;
    }
    value[bytes / sizeof(wchar_t)] = L'\0';
    std::wstring text(value);
    if (text.size() > kMaxPathChars) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::wstring> expand(const std::wstring& text) {
    wchar_t expanded[kMaxPathChars + 1] = {};
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded, kMaxPathChars + 1);
    if (needed == 0 || needed > kMaxPathChars + 1) {
        return std::nullopt;
    }
    return std::wstring(expanded);
}

class WindowsHtmlHelpHost : public HtmlHelpHost {
  public:
    std::optional<std::u16string> registeredPath(std::u16string_view keyName) override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, toWide(keyName).c_str(), 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD type = 0;
        std::optional<std::wstring> value = readDefaultString(key, type);
        RegCloseKey(key);
        if (value && type == REG_EXPAND_SZ) {
            value = expand(*value);
        }
        if (!value || value->empty()) {
            return std::nullopt;
        }
        return toU16(value->c_str());
    }

    void* loadLibrary(const std::u16string& path) override {
        return LoadLibraryW(reinterpret_cast<const wchar_t*>(path.c_str()));
    }

    void freeLibrary(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }

    void* exportByOrdinal(void* module, unsigned ordinal) override {
        return reinterpret_cast<void*>(
            GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
    }

    void callHtmlHelp(void* entry, void* owner, const std::u16string& file, unsigned command,
                      std::uintptr_t data) override {
        const auto htmlHelp = reinterpret_cast<HtmlHelpW>(entry);
        htmlHelp(static_cast<HWND>(owner), reinterpret_cast<const wchar_t*>(file.c_str()), command,
                 data);
    }
};

}  // namespace

std::unique_ptr<HtmlHelpHost> createWindowsHtmlHelpHost() {
    return std::make_unique<WindowsHtmlHelpHost>();
}

namespace {

// The viewer together with the host it calls, for a program's lifetime.
class WindowsHtmlHelpViewer : public HelpViewer {
  public:
    bool show(void* owner) override { return viewer_.show(owner); }

  private:
    WindowsHtmlHelpHost host_;
    HtmlHelpViewer viewer_{host_};
};

}  // namespace

std::unique_ptr<HelpViewer> createWindowsHelpViewer() {
    return std::make_unique<WindowsHtmlHelpViewer>();
}

}  // namespace spdialog
