// Answers the dialog boxes a test's code shows modally, from a thread timer that runs
// inside their modal loops (Windows leg only).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace material::win32 {

// Answers the next dialog box (#32770) this thread shows, once.
class ModalAnswerer {
  public:
    explicit ModalAnswerer(std::function<void(HWND)> answer) {
        current_ = this;
        answer_ = std::move(answer);
        timer_ = SetTimer(nullptr, 0, 50, onTimer);
    }
    ~ModalAnswerer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    // Whether an answerer waits for a box.
    static bool waiting() { return current_ != nullptr && !current_->answered_; }
    std::wstring title;  // the box's caption
    std::wstring texts;  // its static texts, one a line

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ == nullptr || current_->answered_) {
            return;
        }
        EnumThreadWindows(GetCurrentThreadId(), findBox, 0);
    }
    static BOOL CALLBACK findBox(HWND window, LPARAM) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) {
            return TRUE;
        }
        ModalAnswerer& self = *current_;
        self.answered_ = true;
        self.title = textOf(window);
        EnumChildWindows(window, collectText, 0);
        self.answer_(window);
        return FALSE;
    }
    static BOOL CALLBACK collectText(HWND child, LPARAM) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (std::wstring(className) == L"Static") {
            current_->texts += textOf(child) + L"\n";
        }
        return TRUE;
    }
    static std::wstring textOf(HWND window) {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        return text;
    }

    static inline ModalAnswerer* current_ = nullptr;
    std::function<void(HWND)> answer_;
    UINT_PTR timer_ = 0;
    bool answered_ = false;
};

// Fails the test on a dialog box no ModalAnswerer waits for, and closes it, so that a
// question nobody expected cannot hold the test up for ever.
class UnexpectedBoxGuard {
  public:
    UnexpectedBoxGuard() : timer_(SetTimer(nullptr, 0, 250, onTimer)) {}
    ~UnexpectedBoxGuard() { KillTimer(nullptr, timer_); }
    UnexpectedBoxGuard(const UnexpectedBoxGuard&) = delete;
    UnexpectedBoxGuard& operator=(const UnexpectedBoxGuard&) = delete;

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (!ModalAnswerer::waiting()) {
            EnumThreadWindows(GetCurrentThreadId(), closeBox, 0);
        }
    }
    static BOOL CALLBACK closeBox(HWND window, LPARAM) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
            std::wstring texts;
            EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&texts));
            ADD_FAILURE() << "a box nobody expected: " << std::string(texts.begin(), texts.end());
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(window, WM_COMMAND, IDNO, 0);
        }
        return TRUE;
    }
    static BOOL CALLBACK collectText(HWND child, LPARAM texts) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        *reinterpret_cast<std::wstring*>(texts) += std::wstring(text) + L" ";
        return TRUE;
    }
    UINT_PTR timer_;
};

inline void press(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Types a path into a file dialog's name box and confirms it.
inline void choose(HWND dialog, const std::wstring& path) {
    SetDlgItemTextW(dialog, 0x47c, path.c_str());
    press(dialog, IDOK);
}

}  // namespace material::win32
