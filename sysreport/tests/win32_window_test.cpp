// The Win32 windows of sysreport.exe driven in process under the null display
// driver: commands by click and menu, real message boxes answered from a timer,
// the shell's calls recorded, the report checked on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <chrono>

#include "AppHarness.h"
#include "CaseRegistry.h"
#include "MainWindow.h"
#include "ModalAnswerer.h"
#include "OpenGlProbe.h"
#include "ReportWriter.h"
#include "Shell.h"
#include "TestData.h"
#include "TwipsLayout.h"
#include "Win32BusyWait.h"
#include "Win32Prompts.h"
#include "resource.h"

namespace sysreport::testing {
namespace {

using win32::ShellRequest;

class RecordingShell : public win32::Shell {
  public:
    bool execute(const ShellRequest& request) override {
        requests.push_back(request);
        return opens;
    }
    bool opens = true;  // false: no program for the file type
    std::vector<ShellRequest> requests;
};

std::string textOf(HWND window) {
    return win32::windowText(window);
}

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

bool quitWasPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

class Win32WindowTest : public ::testing::Test {
  protected:
    Win32WindowTest() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        window = std::make_unique<win32::MainWindow>(services(), GetModuleHandleW(nullptr));
        prompts.setOwner(window->hwnd());
    }
    ~Win32WindowTest() override {
        window.reset();
        quitWasPosted();  // the main window's end leaves WM_QUIT behind
    }

    AppServices services(RegistryReader* registry = nullptr) {
        return AppServices{fakes.facts,
                           fakes.clock,
                           registry != nullptr ? *registry : fakes.registry.reader,
                           fakes.host,
                           prompts,
                           mail,
                           fakes.systemInfo,
                           ReportLocations{folder.text(), "", ""}};
    }

    HWND main() const { return window->hwnd(); }
    HWND control(int id) const { return window->control(id); }
    void menu(int id) { SendMessageW(main(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    ScratchFolder folder;
    FakeServices fakes;
    RecordingShell shell;
    win32::Win32Prompts prompts{shell};
    win32::ShellMailClient mail{shell, fakes.mail};
    std::unique_ptr<win32::MainWindow> window;
};

TEST_F(Win32WindowTest, StartUpCaptionTextsAndUptime) {
    EXPECT_EQ(textOf(main()), "sysreport Version 2.4.4");
    const std::pair<int, const char*> texts[] = {
        {IDC_LABEL1, "Instructions:"},
        {IDC_LABEL2,
         "Click View/Save to a file to save a text file which you can then email to your Tech "
         "Support contact. As an alternative, you can enter the email address you want in the "
         "above field and click Email the saved file."},
        {IDC_LBL_EMAIL_TO, "Email To:"},
        {IDC_TXT_EMAIL_TO, "support@korvex.example"},
        {IDC_CMD_SAVE_TO_FILE, "View/&Save to a file"},
        {IDC_CMD_SENT_EMAIL, "&Email the saved file"},
        {IDC_CMD_EXIT, "E&xit"},
        {IDC_LBL_COMPUTER_RUNNING, "Your system has been running for 3 hours and 25 minutes."},
    };
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(textOf(control(id)), text) << id;
    }
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
}

TEST_F(Win32WindowTest, MenusAndTabOrderAreThoseOfTheForm) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {"&File", {"View/&Save to a file", "&Email the saved file", "E&xit"}},
        {"&Tools", {"Change Default"}},
        {"&Help", {"&About sysreport"}}};
    HMENU bar = GetMenu(main());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    auto itemText = [](HMENU menu, int position) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
        return fromWide(std::wstring(text));
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(itemText(bar, i), expected[i].first);
        HMENU popup = GetSubMenu(bar, i);
        std::vector<std::string> items;
        for (int j = 0; j < GetMenuItemCount(popup); ++j) {
            items.push_back(itemText(popup, j));
        }
        EXPECT_EQ(items, expected[i].second);
    }
    std::vector<int> order;
    HWND at = control(IDC_TXT_EMAIL_TO);
    for (int i = 0; i < 4; ++i) {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(main(), at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_TXT_EMAIL_TO, IDC_CMD_SAVE_TO_FILE, IDC_CMD_SENT_EMAIL,
                                       IDC_CMD_EXIT}));
    EXPECT_EQ(GetDlgCtrlID(at), IDC_TXT_EMAIL_TO);
}

TEST_F(Win32WindowTest, AltEReachesTheEmailButtonFromTheAddressField) {
    SetWindowTextW(control(IDC_TXT_EMAIL_TO), L"");
    ModalAnswerer answers({ModalAnswerer::press(IDOK)}, {main()});
    MSG altE{control(IDC_TXT_EMAIL_TO), WM_SYSCHAR, L'e', 1 << 29, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(main(), &altE));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].title, "Error");
}

TEST_F(Win32WindowTest, ControlsArePlacedInTwipsAtTheWindowsDpi) {
    const UINT dpi = win32::windowDpi(main());
    const auto pixels = [dpi](int twips) { return MulDiv(twips, int(dpi), 1440); };
    RECT client;
    GetClientRect(main(), &client);
    EXPECT_EQ(client.right, pixels(7575));
    EXPECT_EQ(client.bottom, pixels(3075));
    RECT button;
    GetWindowRect(control(IDC_CMD_EXIT), &button);
    MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, pixels(5865));
    EXPECT_EQ(button.top, pixels(1980));
    EXPECT_EQ(button.right - button.left, pixels(1470));
    EXPECT_EQ(button.bottom - button.top, pixels(375));
}

TEST_F(Win32WindowTest, ViewSaveYesWritesTheReportThenOpensItThroughTheShell) {
    ModalAnswerer answers({ModalAnswerer::press(IDYES)}, {main()});
    click(control(IDC_CMD_SAVE_TO_FILE));
    ASSERT_TRUE(answers.allAnswered());
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].title, "View/Save to a File");
    EXPECT_EQ(answers.seen()[0].text,
              " Do you want to view the information?\r\n(Information will be automatically "
              "saved to " +
                  folder.reportPath() + " File.)");
    ASSERT_EQ(shell.requests.size(), 1u);
    const ShellRequest& open = shell.requests[0];
    EXPECT_EQ(open.owner, main());
    EXPECT_EQ(open.verb, L"");
    EXPECT_EQ(fromWide(open.target), folder.reportPath());
    EXPECT_EQ(open.directory, L"C:\\");
    EXPECT_EQ(open.show, SW_SHOWNORMAL);
    const std::string report = readBytes(folder.reportPath());
    EXPECT_EQ(report.rfind("<html>\r\n", 0), 0u);
}

TEST_F(Win32WindowTest, ViewSaveNoThroughTheMenuWritesAndSaysWhere) {
    ModalAnswerer answers({ModalAnswerer::press(IDNO), ModalAnswerer::press(IDOK)}, {main()});
    menu(IDM_SAVE);
    ASSERT_TRUE(answers.allAnswered());
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[1].title, "View/Save to a File");
    EXPECT_EQ(answers.seen()[1].text, "Information written to " + folder.reportPath() + " File. ");
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_TRUE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
}

TEST_F(Win32WindowTest, ViewSaveYesThatTheShellCannotOpenNamesTheReport) {
    shell.opens = false;
    ModalAnswerer answers({ModalAnswerer::press(IDYES), ModalAnswerer::press(IDOK)}, {main()});
    click(control(IDC_CMD_SAVE_TO_FILE));
    ASSERT_TRUE(answers.allAnswered());
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[1].title, "View/Save to a File");
    EXPECT_NE(answers.seen()[1].text.find("could not be opened"), std::string::npos);
    EXPECT_NE(answers.seen()[1].text.find(folder.reportPath()), std::string::npos);
    EXPECT_EQ(shell.requests.size(), 1u);
}

TEST(Win32Shell, ReportsAFileItCannotOpen) {
    auto shell = win32::makeSystemShell();
    EXPECT_FALSE(shell->execute(
        win32::viewReportRequest(nullptr, "C:\\no such folder\\Simulation Product Info.htm")));
}

// The graphics line carries what the display driver's OpenGL reports, if anything.
TEST_F(Win32WindowTest, ReportCarriesTheRendererOfTheDisplayDriver) {
    const OpenGlFacts openGl = win32::probeOpenGl();
    EXPECT_EQ(openGl.renderer.empty(), openGl.version.empty());
    const std::string report = readBytes(window->behaviour().writeToFile());
    EXPECT_NE(report.find("GRAPHICS:                " +
                          graphicsSummary(fakes.facts.graphicsAdapter(), openGl) + "\r\n"),
              std::string::npos);
}

TEST_F(Win32WindowTest, EmailWithAnEmptyAddressSaysSoAndWritesNothing) {
    SetWindowTextW(control(IDC_TXT_EMAIL_TO), L"");
    ModalAnswerer answers({ModalAnswerer::press(IDOK)}, {main()});
    click(control(IDC_CMD_SENT_EMAIL));
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].title, "Error");
    EXPECT_EQ(answers.seen()[0].text,
              "Email address can not have a null value. Please type in the correct email "
              "address.");
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
    EXPECT_TRUE(shell.requests.empty());
}

TEST_F(Win32WindowTest, EmailNoOpensTheMailLinkThroughTheShell) {
    SetWindowTextW(control(IDC_TXT_EMAIL_TO), L"desk@example.org");
    ModalAnswerer answers({ModalAnswerer::press(IDNO)}, {main()});
    menu(IDM_EMAIL);
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].title, "Email Option");
    EXPECT_EQ(answers.seen()[0].text, "Do you use MS Outlook as your Email Client?");
    ASSERT_EQ(shell.requests.size(), 1u);
    const ShellRequest& link = shell.requests[0];
    EXPECT_EQ(link.owner, nullptr);
    EXPECT_EQ(link.verb, L"open");
    EXPECT_EQ(fromWide(link.target)
                  .rfind("mailto:desk@example.org?subject=Simulation%20Product%20"
                         "Info.htm%20file%20attached&body=Please%20attach",
                         0),
              0u);
    EXPECT_EQ(link.directory, L"");
    EXPECT_EQ(link.show, SW_SHOW);
    EXPECT_TRUE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
}

TEST_F(Win32WindowTest, EmailYesSendsThroughAutomationAndConfirms) {
    ModalAnswerer answers({ModalAnswerer::press(IDYES), ModalAnswerer::press(IDOK)}, {main()});
    click(control(IDC_CMD_SENT_EMAIL));
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[1].title, "Email Delivery");
    EXPECT_EQ(answers.seen()[1].text, "Email successfully sent. ");
    ASSERT_EQ(fakes.mail.automated.size(), 1u);
    EXPECT_EQ(fakes.mail.automated[0].to, "support@korvex.example");
    EXPECT_EQ(fakes.mail.automated[0].attachmentPath, folder.reportPath());
    EXPECT_TRUE(shell.requests.empty());
}

TEST_F(Win32WindowTest, ChangeDefaultOkSetsTheAddressWithoutBlockingTheMainWindow) {
    menu(IDM_CHANGE_DEFAULT);
    HWND dialog = window->changeDefault().hwnd();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(main()));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main());
    EXPECT_EQ(textOf(dialog), "Change Default Values");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_LBL_DEFAULT_EMAIL)), "Default Email:");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDOK)), "OK");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_CMD_CANCEL)), "Cancel");
    HWND field = GetDlgItem(dialog, IDC_TXT_DEFAULT_EMAIL);
    EXPECT_EQ(textOf(field), "support@korvex.example");
    SetWindowTextW(field, L"desk@example.org");
    click(GetDlgItem(dialog, IDOK));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(window->changeDefault().hwnd(), nullptr);
    EXPECT_EQ(window->behaviour().supportAddress(), "desk@example.org");
    EXPECT_EQ(textOf(control(IDC_TXT_EMAIL_TO)), "desk@example.org");
}

TEST_F(Win32WindowTest, ChangeDefaultCancelRestoresTheDefaultButEscapeChangesNothing) {
    SetWindowTextW(control(IDC_TXT_EMAIL_TO), L"someone@example.org");
    menu(IDM_CHANGE_DEFAULT);
    HWND dialog = window->changeDefault().hwnd();
    SetWindowTextW(GetDlgItem(dialog, IDC_TXT_DEFAULT_EMAIL), L"ignored@example.org");
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(textOf(control(IDC_TXT_EMAIL_TO)), "someone@example.org");

    menu(IDM_CHANGE_DEFAULT);
    dialog = window->changeDefault().hwnd();
    SetWindowTextW(GetDlgItem(dialog, IDC_TXT_DEFAULT_EMAIL), L"ignored@example.org");
    click(GetDlgItem(dialog, IDC_CMD_CANCEL));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(window->behaviour().supportAddress(), "support@korvex.example");
    EXPECT_EQ(textOf(control(IDC_TXT_EMAIL_TO)), "support@korvex.example");
}

TEST_F(Win32WindowTest, ExitWhileTheChangeDialogIsOpenEndsTheProgram) {
    menu(IDM_CHANGE_DEFAULT);
    HWND dialog = window->changeDefault().hwnd();
    HWND mainWindow = main();
    ASSERT_TRUE(IsWindow(dialog));
    click(control(IDC_CMD_EXIT));
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(window->hwnd(), nullptr);
    EXPECT_EQ(window->changeDefault().hwnd(), nullptr);
    EXPECT_TRUE(quitWasPosted());
}

TEST_F(Win32WindowTest, AboutBoxIsModalWithItsTextsAndSystemInfo) {
    fakes.systemInfo.available = false;
    std::vector<std::string> texts;
    bool mainDisabled = false;
    bool hasIcon = false;
    const auto readAndUse = [&](HWND about) {
        mainDisabled = !IsWindowEnabled(main());
        texts.push_back(textOf(about));
        for (int id : {IDC_LBL_TITLE, IDC_LBL_VERSION, IDC_LBL_SUITE_VERSION, IDC_LBL_DESCRIPTION,
                       IDC_LBL_DISCLAIMER, IDOK, IDC_CMD_SYS_INFO}) {
            texts.push_back(textOf(GetDlgItem(about, id)));
        }
        hasIcon = SendDlgItemMessageW(about, IDC_PIC_ICON, STM_GETICON, 0, 0) != 0;
        click(GetDlgItem(about, IDC_CMD_SYS_INFO));  // its message box is the next step
        PostMessageW(about, WM_COMMAND, IDOK, 0);
    };
    ModalAnswerer answers({readAndUse, ModalAnswerer::press(IDOK)}, {main()});
    menu(IDM_SYS_INFO);
    ASSERT_TRUE(answers.allAnswered());
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "About sysreport", "sysreport",
                         "Version 2.4.4              Copyright (C) Quorvane. All rights reserved.",
                         "korvex-tools " KT_VERSION,
                         "sysreport is a utility that retrieves information about the "
                         "configuration of the computer and about installed Korvex Products. ",
                         "sysreport created by Korvex Tech Support", "OK", "&System Info..."}));
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[1].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(fakes.systemInfo.starts, 1);
    EXPECT_TRUE(IsWindowEnabled(main()));
}

// While a mail program starts, the window keeps painting and its timers run under
// the busy cursor; keyboard and mouse input waits for the end, and the wait ends
// when done or at its limit.
TEST_F(Win32WindowTest, BusyWaitKeepsTheWindowAliveButTakesNoInput) {
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 5, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    PostMessageW(control(IDC_TXT_EMAIL_TO), WM_KEYDOWN, 'X', 0);
    PostMessageW(control(IDC_CMD_SENT_EMAIL), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    const HCURSOR busy = LoadCursorW(nullptr, IDC_WAIT);
    bool busyCursor = false;
    win32::Win32BusyWait wait;
    const auto start = std::chrono::steady_clock::now();
    wait.waitUntil(
        [&] {
            busyCursor = GetCursor() == busy;
            return ticks >= 3;
        },
        std::chrono::seconds(5));
    KillTimer(nullptr, timer);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(busyCursor);
    EXPECT_NE(GetCursor(), busy);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));

    const auto limited = std::chrono::steady_clock::now();
    wait.waitUntil([] { return false; }, std::chrono::milliseconds(100));
    const auto waited = std::chrono::steady_clock::now() - limited;
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_LT(waited, std::chrono::seconds(2));
}

// The report the window writes from the registry of this prefix equals the
// golden report of the same keys; only the display lines come from the screen
// the test runs on.
TEST(Win32WindowReport, MatchesTheGoldenReportOfTheSameKeys) {
    const std::string caseFolder = testDataPath("all-families");
    CaseRegistry keys(caseFolder, {"Software\\Quorvane", "Software\\Zentaro2007",
                                   "Software\\Plandry", ems2007InstallerKey()});
    auto ini = makeIniFileReader();
    RegistryReader registry(keys.backend(), *ini);
    ScratchFolder folder;
    FakeServices fakes;
    fakes.facts.environment["korvexm"] = "C:\\Program Files\\Korvex M\\";
    fakes.facts.os = {"Windows NT ", "10.0", "22631", "", "Windows 11", "586", 16};
    fakes.host.info = CadHostInfo{20091015, "17.0.0 <beta>"};
    RecordingShell shell;
    win32::ShellMailClient mail(shell, fakes.mail);
    {
        win32::MainWindow window(
            AppServices{fakes.facts, fakes.clock, registry, fakes.host, fakes.prompts, mail,
                        fakes.systemInfo, ReportLocations{folder.text(), "", ""}},
            GetModuleHandleW(nullptr));
        fakes.prompts.answerYes = false;
        SendMessageW(window.control(IDC_CMD_SAVE_TO_FILE), BM_CLICK, 0, 0);
    }
    quitWasPosted();

    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(bits, 32) << "the golden colour line is that of a 32-bit screen";
    std::string expected = readBytes(caseFolder + "/expected.htm");
    const std::string goldenScreen = "1920 x  1080";
    const std::size_t at = expected.find(goldenScreen);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, goldenScreen.size(),
                     std::to_string(width) + " x  " + std::to_string(height));
    EXPECT_EQ(readBytes(folder.reportPath()), expected);
}

}  // namespace
}  // namespace sysreport::testing
