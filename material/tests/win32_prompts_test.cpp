// The library operations' questions as real message boxes and file dialogs under Wine,
// answered from a thread timer that runs inside their modal loops.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "WideText.h"
#include "Win32LibraryPrompts.h"
#include "win32_modal.h"

namespace material::win32 {
namespace {

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
