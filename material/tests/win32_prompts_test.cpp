// The library operations' questions as real message boxes and file dialogs under Wine,
// answered from a thread timer that runs inside their modal loops.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "WideText.h"
#include "Win32LibraryPrompts.h"

namespace material::win32 {
namespace {

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

void press(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Types a path into a file dialog's name box and confirms it.
void choose(HWND dialog, const std::wstring& path) {
    SetDlgItemTextW(dialog, 0x47c, path.c_str());
    press(dialog, IDOK);
}

std::wstring temporaryFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

TEST(Win32LibraryPromptsTest, FiltersBecomePairsEndedByNuls) {
    using namespace std::string_literals;
    struct Case {
        const char* filter;
        std::wstring expected;
    };
    const Case cases[] = {
        {"Library Files (*.lib)|*.lib|All Files  (*.*)|*.*",
         L"Library Files (*.lib)\0*.lib\0All Files  (*.*)\0*.*\0\0"s},
        {"Workbooks (*.xls)|*.xls", L"Workbooks (*.xls)\0*.xls\0\0"s},
        // The library's own code page: 0xE9 is an e with an acute accent.
        {"Mat\xE9riaux|*.lib", L"Mat\u00E9riaux\0*.lib\0\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(dialogFilter(c.filter), c.expected);
    }
}

TEST(Win32LibraryPromptsTest, MessageBoxesShowTheTextAndReturnTheButtonPressed) {
    struct Case {
        MessageButtons buttons;
        int pressed;
        MessageAnswer expected;
    };
    const Case cases[] = {
        {MessageButtons::YesNoCancel, IDYES, MessageAnswer::Yes},
        {MessageButtons::YesNoCancel, IDNO, MessageAnswer::No},
        {MessageButtons::YesNoCancel, IDCANCEL, MessageAnswer::Cancel},
        {MessageButtons::RetryCancel, IDRETRY, MessageAnswer::Retry},
        {MessageButtons::Ok, IDOK, MessageAnswer::Ok},
    };
    Win32LibraryPrompts prompts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pressed);
        ModalAnswerer answerer([&](HWND box) { press(box, c.pressed); });
        EXPECT_EQ(prompts.Message("Save changes to caf\xE9.lib?", c.buttons, MessageIcon::Question),
                  c.expected);
        EXPECT_EQ(answerer.title, L"Korvex/M Material Browser");
        EXPECT_NE(answerer.texts.find(L"Save changes to caf\u00E9.lib?"), std::wstring::npos);
    }
}

TEST(Win32LibraryPromptsTest, OpenDialogReturnsTheChosenFile) {
    const std::wstring folder = temporaryFolder();
    const std::wstring path = folder + L"material_prompts_open.lib";
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    Win32LibraryPrompts prompts;
    FileDialogRequest request;
    request.title = "Open Library";
    request.filter = "Library Files (*.lib)|*.lib";
    request.fileMustExist = true;
    ModalAnswerer answerer([&](HWND dialog) { choose(dialog, path); });
    const std::optional<std::string> chosen = prompts.OpenFile(request);
    EXPECT_EQ(answerer.title, L"Open Library");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(widen(*chosen), path);
    DeleteFileW(path.c_str());
}

TEST(Win32LibraryPromptsTest, SaveDialogAddsTheSuffixAndCancelGivesNothing) {
    const std::wstring folder = temporaryFolder();
    Win32LibraryPrompts prompts;
    FileDialogRequest request;
    request.title = "Save Library As";
    request.filter = "Library Files (*.lib)|*.lib";
    request.defaultSuffix = "lib";
    {
        ModalAnswerer answerer([&](HWND dialog) { choose(dialog, folder + L"saved"); });
        const std::optional<std::string> chosen = prompts.SaveFile(request);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(widen(*chosen), folder + L"saved.lib");
    }
    {
        ModalAnswerer answerer([](HWND dialog) { press(dialog, IDCANCEL); });
        EXPECT_FALSE(prompts.SaveFile(request).has_value());
    }
}

}  // namespace
}  // namespace material::win32
