// Answers the modal windows a test opens (message boxes, the about box) from a
// thread timer, which keeps running inside their modal loops.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "WinText.h"

namespace sysreport::testing {

struct SeenWindow {
    std::string title;
    std::string text;  // a message box's text; "" for other dialogs
};

class ModalAnswerer {
  public:
    using Step = std::function<void(HWND)>;

    // Each step handles the next new dialog window of this thread, in order;
    // `ignored` are the test's own windows (the main window, the change dialog).
    ModalAnswerer(std::vector<Step> steps, std::set<HWND> ignored)
        : steps_(std::move(steps)), handled_(std::move(ignored)) {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 10, onTimer);
    }
    ~ModalAnswerer() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // Steps for the usual answers.
    static Step press(int id) {
        return [id](HWND box) { PostMessageW(box, WM_COMMAND, id, 0); };
    }

    const std::vector<SeenWindow>& seen() const { return seen_; }
    bool allAnswered() const { return next_ == steps_.size(); }

  private:
    static ModalAnswerer*& current() {
        static ModalAnswerer* answerer = nullptr;
        return answerer;
    }

    static std::string textOf(HWND window) {
        wchar_t buffer[2048] = {};
        GetWindowTextW(window, buffer, 2048);
        return sysreport::fromWide(std::wstring(buffer));
    }

    static BOOL CALLBACK findNew(HWND window, LPARAM parameter) {
        auto* self = reinterpret_cast<ModalAnswerer*>(parameter);
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(window) ||
            self->handled_.count(window) != 0) {
            return TRUE;
        }
        self->found_ = window;
        return FALSE;
    }

    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        ModalAnswerer* self = current();
        if (self == nullptr || self->next_ >= self->steps_.size()) {
            return;
        }
        self->found_ = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findNew, reinterpret_cast<LPARAM>(self));
        if (self->found_ == nullptr) {
            return;
        }
        HWND window = self->found_;
        // Marked first: a step may open another modal window, in whose loop this
        // timer runs again.
        self->handled_.insert(window);
        HWND message = GetDlgItem(window, 0xFFFF);
        self->seen_.push_back({textOf(window), message != nullptr ? textOf(message) : ""});
        const Step& step = self->steps_[self->next_++];
        step(window);
    }

    std::vector<Step> steps_;
    std::set<HWND> handled_;
    std::vector<SeenWindow> seen_;
    std::size_t next_ = 0;
    HWND found_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace sysreport::testing
