// The native frame of material.exe driven in process under Wine's null display driver:
// menus and toolbar by their commands, the accelerators by keys, the timer by its
// messages, the library operations and help requests recorded by fakes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "AboutWindow.h"
#include "FrameWindow.h"
#include "WideText.h"
#include "app/FrameRules.h"
#include "kt_version.h"
#include "resource.h"

namespace material::win32 {
namespace {

class RecordingCommands final : public FrameCommands {
  public:
    void newLibrary() override { calls.push_back("new"); }
    void openLibrary() override { calls.push_back("open"); }
    void saveLibrary() override { calls.push_back("save"); }
    void saveLibraryAs() override { calls.push_back("saveAs"); }
    void deleteMaterial() override { calls.push_back("delete"); }
    bool libraryHasNoFile() const override { return noFile; }
    bool closeLibraryWindow() override {
        calls.push_back("close");
        return mayClose;
    }

    bool noFile = false;
    bool mayClose = true;
    std::vector<std::string> calls;
};

class RecordingHelpViewer final : public HelpViewer {
  public:
    explicit RecordingHelpViewer(std::vector<std::string>& paths) : paths_(paths) {}
    void displayHelpFile(const std::string& path) override { paths_.push_back(path); }

  private:
    std::vector<std::string>& paths_;
};

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class Win32FrameTest : public ::testing::Test {
  protected:
    Win32FrameTest()
        : frame(commands, std::make_unique<RecordingHelpViewer>(helpPaths),
                [this] { ++closedCount; }) {}

    void command(int id, HWND from = nullptr) {
        SendMessageW(frame.window(), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(from));
    }
    void toolbarClick(int id) { command(id, frame.toolbar()); }
    bool buttonEnabled(int id) {
        return SendMessageW(frame.toolbar(), TB_ISBUTTONENABLED, id, 0) != 0;
    }
    // The text the toolbar's tooltip asks the frame for.
    std::wstring tooltip(int id) {
        NMTTDISPINFOW request{};
        request.hdr.hwndFrom = frame.toolbar();
        request.hdr.idFrom = static_cast<UINT_PTR>(id);
        request.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(frame.window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        if (request.lpszText != nullptr && IS_INTRESOURCE(request.lpszText)) {
            return loadString(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(request.lpszText)));
        }
        return request.lpszText != nullptr ? request.lpszText : L"";
    }
    // Runs the accelerator table on a key press, as the message loop does.
    bool pressKey(UINT key, bool control) {
        BYTE keys[256] = {};
        if (control) {
            keys[VK_CONTROL] = 0x80;
        }
        SetKeyboardState(keys);
        MSG message{frame.window(), WM_KEYDOWN, key, 1, 0, {}};
        const bool handled =
            TranslateAcceleratorW(frame.window(), frame.accelerators(), &message) != 0;
        BYTE released[256] = {};
        SetKeyboardState(released);
        return handled;
    }

    RecordingCommands commands;
    std::vector<std::string> helpPaths;
    int closedCount = 0;
    FrameWindow frame;
};

TEST_F(Win32FrameTest, CarriesTheFramesClassTitleIconAndMenus) {
    wchar_t className[64] = {};
    GetClassNameW(frame.window(), className, 64);
    EXPECT_STREQ(className, L"MDIForm1");
    EXPECT_EQ(windowText(frame.window()), L"Korvex/M Material Browser");
    EXPECT_NE(GetClassLongPtrW(frame.window(), GCLP_HICON), 0);

    HMENU bar = GetMenu(frame.window());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(menuText(bar, 0), L"&File");
    EXPECT_EQ(menuText(bar, 1), L"&Help");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(menuText(file, 0), L"&New   ");
    EXPECT_EQ(menuText(file, 1), L"&Open...   \tCtrl+O");
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(menuText(file, 3), L"E&xit   ");
    HMENU help = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(help), 2);
    EXPECT_EQ(menuText(help, 0), L"&Help Topics\tF1");
    EXPECT_EQ(menuText(help, 1), L"&About Material Browser");
}

TEST_F(Win32FrameTest, ToolbarHasItsEightItemsWithTooltips) {
    struct Item {
        bool separator;
        int command;
        const wchar_t* tooltip;
    };
    const Item expected[] = {
        {true, 0, nullptr},
        {false, ID_TOOLBAR_NEW, L"Open new file"},
        {false, ID_TOOLBAR_OPEN, L"Open existing file"},
        {false, ID_TOOLBAR_SAVE, L"Save file"},
        {true, 0, nullptr},
        {false, ID_TOOLBAR_DELETE, L"Delete the selected material"},
        {true, 0, nullptr},
        {false, ID_TOOLBAR_HELP, L"Help"},
    };
    ASSERT_EQ(SendMessageW(frame.toolbar(), TB_BUTTONCOUNT, 0, 0), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button{};
        SendMessageW(frame.toolbar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, expected[i].separator);
        if (!expected[i].separator) {
            EXPECT_EQ(button.idCommand, expected[i].command);
            EXPECT_EQ(tooltip(button.idCommand), expected[i].tooltip);
        }
    }
    EXPECT_NE(SendMessageW(frame.toolbar(), TB_GETIMAGELIST, 0, 0), 0);
}

TEST_F(Win32FrameTest, CommandsGoToTheLibraryOperations) {
    struct Case {
        const char* name;
        int command;
        bool fromToolbar;
        bool noFile;
        const char* call;
    };
    const Case cases[] = {
        {"menu New", ID_FILE_NEW, false, false, "new"},
        {"menu Open", ID_FILE_OPEN, false, false, "open"},
        {"button New", ID_TOOLBAR_NEW, true, false, "new"},
        {"button Open", ID_TOOLBAR_OPEN, true, false, "open"},
        {"Save with a file", ID_TOOLBAR_SAVE, true, false, "save"},
        {"Save without a file asks for a name", ID_TOOLBAR_SAVE, true, true, "saveAs"},
        {"button Delete", ID_TOOLBAR_DELETE, true, false, "delete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        commands.calls.clear();
        commands.noFile = c.noFile;
        c.fromToolbar ? toolbarClick(c.command) : command(c.command);
        EXPECT_EQ(commands.calls, std::vector<std::string>{c.call});
    }
}

TEST_F(Win32FrameTest, AcceleratorsOpenAndShowHelpTopics) {
    EXPECT_TRUE(pressKey('O', true));
    EXPECT_EQ(commands.calls, std::vector<std::string>{"open"});
    EXPECT_FALSE(pressKey('O', false));

    EXPECT_TRUE(pressKey(VK_F1, false));
    EXPECT_EQ(helpPaths.size(), 1u);
}

TEST_F(Win32FrameTest, HelpButtonOpensTheHelpBesideTheProgram) {
    toolbarClick(ID_TOOLBAR_HELP);
    ASSERT_EQ(helpPaths.size(), 1u);
    EXPECT_NE(helpPaths[0].find(".chm"), std::string::npos) << helpPaths[0];
}

TEST_F(Win32FrameTest, SaveAndDeleteWaitForALibrary) {
    EXPECT_TRUE(buttonEnabled(ID_TOOLBAR_NEW));
    EXPECT_FALSE(buttonEnabled(ID_TOOLBAR_SAVE));
    EXPECT_FALSE(buttonEnabled(ID_TOOLBAR_DELETE));
    frame.setLibraryButtonsEnabled(true);
    EXPECT_TRUE(buttonEnabled(ID_TOOLBAR_SAVE));
    EXPECT_TRUE(buttonEnabled(ID_TOOLBAR_DELETE));
}

TEST_F(Win32FrameTest, TimerTicksStepTheStatusAnimation) {
    StatusAnimation reference;
    for (int tick = 0; tick < 30; ++tick) {
        SCOPED_TRACE(tick);
        const int before = frame.shownFrame();
        const int picture = reference.tick();
        SendMessageW(frame.window(), WM_TIMER, FrameWindow::kTimerId, 0);
        EXPECT_EQ(frame.shownFrame(), picture == 0 ? before : picture);
    }
    EXPECT_GE(frame.shownFrame(), StatusAnimation::kFirstFrame);
}

TEST_F(Win32FrameTest, OpensTwoHundredTwipsFromTheScreensCorner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(frame.window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT placed{};
    GetWindowRect(frame.window(), &placed);
    EXPECT_EQ(placed.left, monitor.rcMonitor.left + TwipsToPixels(200, dpiX));
    EXPECT_EQ(placed.top, monitor.rcMonitor.top + TwipsToPixels(200, dpiY));
    EXPECT_LE(placed.right, monitor.rcWork.right);
    EXPECT_LE(placed.bottom, monitor.rcWork.bottom);
}

TEST_F(Win32FrameTest, ViewTogglesGiveTheWorkspaceTheBarsRoom) {
    RECT withBars{};
    GetWindowRect(frame.client(), &withBars);
    EXPECT_FALSE(frame.toggleToolbar());
    EXPECT_FALSE(frame.toggleStatusBar());
    RECT withoutBars{};
    GetWindowRect(frame.client(), &withoutBars);
    EXPECT_LT(withoutBars.top, withBars.top);
    EXPECT_GT(withoutBars.bottom, withBars.bottom);
    EXPECT_TRUE(frame.toggleToolbar());
    EXPECT_TRUE(frame.toggleStatusBar());
}

TEST_F(Win32FrameTest, CloseIsRefusedWhileTheLibraryWindowStays) {
    commands.mayClose = false;
    SendMessageW(frame.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.window()));
    EXPECT_EQ(closedCount, 0);

    commands.mayClose = true;
    HWND window = frame.window();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closedCount, 1);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"close", "close"}));
}

TEST_F(Win32FrameTest, AboutFormIsModelessAndSingle) {
    command(ID_HELP_ABOUT);
    HWND about = AboutWindow::current();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(about), L"About Material Browser ");
    command(ID_HELP_ABOUT);
    EXPECT_EQ(AboutWindow::current(), about);
    EXPECT_TRUE(IsWindowEnabled(frame.window()));

    SendMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(AboutWindow::current(), nullptr);
}

struct StaticText {
    std::wstring text;
    RECT place;   // in the form's client coordinates
    RECT needed;  // what the text needs at the control's width, same origin
};

std::vector<StaticText> staticTexts(HWND form) {
    std::vector<StaticText> found;
    for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const std::wstring text = windowText(child);
        const bool picture = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (std::wstring(className) != L"Static" || picture || text.empty()) {
            continue;
        }
        StaticText item{text, {}, {}};
        GetWindowRect(child, &item.place);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&item.place), 2);
        HDC dc = GetDC(child);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        item.needed = item.place;
        DrawTextW(dc, text.c_str(), -1, &item.needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        found.push_back(item);
    }
    return found;
}

TEST_F(Win32FrameTest, AboutFormKeepsItsTextsAndAddsTheSuiteVersionUnclipped) {
    command(ID_HELP_ABOUT);
    HWND about = AboutWindow::current();
    ASSERT_NE(about, nullptr);
    const std::vector<StaticText> texts = staticTexts(about);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, L"Korvex/M Material Browser");
    EXPECT_EQ(texts[1].text, L"Version 3.0");
    EXPECT_EQ(texts[2].text, L"korvex-tools " KT_VERSION);
    EXPECT_EQ(texts[3].text.rfind(L"Copyright \u00A9 Korvex. All rights reserved.\n\n", 0), 0u);
    RECT client{};
    GetClientRect(about, &client);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LE(texts[i].needed.right, texts[i].place.right);
        EXPECT_LE(texts[i].needed.bottom, texts[i].place.bottom);
        EXPECT_LE(texts[i].place.bottom, client.bottom);
        if (i > 0) {
            EXPECT_LE(texts[i - 1].place.bottom, texts[i].place.top);
        }
    }
    SendMessageW(about, WM_COMMAND, IDOK, 0);
}

// The version resource, linked into this test from the program's own script, carries
// the suite's version.
TEST(Win32VersionResource, CarriesTheSuitesVersion) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(self, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(KT_VERSION_MINOR, KT_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, KT_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* text = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            << name;
        EXPECT_EQ(std::wstring(text), L"" KT_VERSION) << name;
    }
}

}  // namespace
}  // namespace material::win32
