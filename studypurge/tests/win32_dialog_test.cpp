// The Win32 dialog driven in process: real windows from the program's own resource
// script, clicks by message, message boxes and the open dialog answered from a thread
// timer inside their modal loops, and a real purge through ole32 checked on disk.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CkwpurgeDlg.h"
#include "Strings.h"
#include "WideText.h"
#include "Win32Prompts.h"
#include "dialog_fakes.h"
#include "purge/PurgeDocument.h"
#include "resource.h"

namespace spwin {
namespace {

// The dialog's thread is a single-threaded apartment, as in the program.
class OleApartment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
const auto* const kApartment = ::testing::AddGlobalTestEnvironment(new OleApartment);

const std::wstring kNoFile = L"Please select a PLANDRY file before clicking this button";
const std::wstring kNoProduct =
    L"Please select a Simulation Product name before clicking this button";
const std::wstring kNotFound = L"Simulation file is not found, pleease check input file pathname.";
const std::wstring kCleaned =
    L"Success - Simulation data is cleaned from the file for selected simulation product(s).";

constexpr int kOpenDialogFileName = 0x47c;  // the file-name box of the open dialog
constexpr int kOpenDialogReadOnly = 0x410;  // its read-only check box
constexpr int kOpenDialogFilter = 0x470;    // its file-type list
constexpr int kMessageBoxText = 0xffff;

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// A control's rectangle in its dialog's client coordinates.
RECT placeIn(HWND dialog, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The size a control's text takes, line by line, in the control's font.
SIZE textNeeds(HWND control) {
    const std::wstring text = windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {needed.right, needed.bottom};
}

std::wstring itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Answers the modal windows that appear on this thread, each with the next step, from
// a thread timer that runs inside their modal loops. A window no step was left for
// fails the test and is cancelled.
class ModalAnswers {
  public:
    using Step = std::function<void(HWND)>;

    ModalAnswers(HWND dialogUnderTest, std::vector<Step> steps) {
        current_ = this;
        skip_.insert(dialogUnderTest);
        steps_.assign(steps.begin(), steps.end());
        timer_ = SetTimer(nullptr, 0, 20, onTimer);
    }
    ~ModalAnswers() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " expected window(s) did not appear";
    }

    static void answer(HWND window, int command) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    }

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ != nullptr) {
            EnumThreadWindows(GetCurrentThreadId(), visit, 0);
        }
    }
    static BOOL CALLBACK visit(HWND window, LPARAM) {
        ModalAnswers& self = *current_;
        if (className(window) != L"#32770" || !IsWindowVisible(window) ||
            !self.skip_.insert(window).second) {
            return TRUE;
        }
        if (self.steps_.empty()) {
            ADD_FAILURE() << "unexpected window: " << toUtf8(windowText(window));
            answer(window, IDCANCEL);
            return TRUE;
        }
        Step step = std::move(self.steps_.front());
        self.steps_.pop_front();
        step(window);
        return TRUE;
    }

    static inline ModalAnswers* current_ = nullptr;
    std::set<HWND> skip_;
    std::deque<Step> steps_;
    UINT_PTR timer_ = 0;
};

// A message box: its caption and text are recorded, then OK is pressed.
ModalAnswers::Step messageBox(std::vector<std::wstring>& shown) {
    return [&shown](HWND box) {
        EXPECT_EQ(windowText(box), L"studypurge");
        shown.push_back(itemText(box, kMessageBoxText));
        ModalAnswers::answer(box, IDOK);
    };
}

class Win32DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog_ = std::make_unique<CkwpurgeDlg>(
            GetModuleHandleW(nullptr),
            spapp::DialogServices{messages_, files_, help_,
                                  [this](purge::PurgeDialogPort& port) { purge_(port); }});
        window_ = dialog_->Create();
        ASSERT_NE(window_, nullptr);
    }

    void click(int id) { SendMessageW(GetDlgItem(window_, id), BM_CLICK, 0, 0); }
    bool ticked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    std::vector<int> tickedIds() const {
        std::vector<int> ids;
        for (int id : {IDC_CLEAN_SIMULATION, IDC_CLEAN_QUIKLET, IDC_CLEAN_MOTION, IDC_CLEAN_FLOW,
                       IDC_CLEAN_SUSTAINABILITY}) {
            if (ticked(id)) {
                ids.push_back(id);
            }
        }
        return ids;
    }
    void type(const std::wstring& path) { SetDlgItemTextW(window_, IDC_FILE_PATH, path.c_str()); }
    std::wstring text(int id) const { return itemText(window_, id); }

    Win32MessageBoxes messages_;
    Win32FileChooser files_;
    spdialog::fakes::RecordingHelp help_;
    std::function<void(purge::PurgeDialogPort&)> purge_ = [](purge::PurgeDialogPort& port) {
        purge::PurgeDocument(port);
    };
    std::unique_ptr<CkwpurgeDlg> dialog_;
    HWND window_ = nullptr;
};

TEST_F(Win32DialogTest, ATypedPathIsUsedAsTypedWithTheTickedProducts) {
    std::string seenPath;
    bool seenSimulation = false, seenFlow = false, seenOthers = true;
    purge_ = [&](purge::PurgeDialogPort& port) {
        seenPath = port.filePath();
        seenSimulation = port.cleanSimulation();
        seenFlow = port.cleanFlow();
        seenOthers =
            port.cleanMotion() || port.cleanSimulationQuiklet() || port.cleanSustainability();
    };
    const std::wstring typed = L" C:\\Entwürfe\\part one.PLDPRT ";
    type(typed);
    click(IDC_CLEAN_SIMULATION);
    click(IDC_CLEAN_FLOW);
    click(IDC_CLEAN_FILE);

    EXPECT_EQ(toWide(seenPath), typed);
    EXPECT_TRUE(seenSimulation);
    EXPECT_TRUE(seenFlow);
    EXPECT_FALSE(seenOthers);
}

TEST_F(Win32DialogTest, RefusesWithStrings104And105) {
    std::vector<std::wstring> shown;
    {
        ModalAnswers answers(window_, {messageBox(shown), messageBox(shown)});
        click(IDC_CLEAN_MOTION);
        click(IDC_CLEAN_FILE);  // no path
        click(IDC_CLEAN_MOTION);
        type(L"C:\\docs\\pump.pldasm");
        click(IDC_CLEAN_FILE);  // no product
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{kNoFile, kNoProduct}));
    EXPECT_EQ(text(IDC_FILE_PATH), L"C:\\docs\\pump.pldasm");
}

// A compound file made by ole32 with the items of two products and one more.
std::filesystem::path makeDocfile(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / L"bracket.pldprt";
    constexpr DWORD mode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
    IStorage* root = nullptr;
    EXPECT_EQ(StgCreateDocfile(path.c_str(), mode, 0, &root), S_OK);
    if (root == nullptr) {
        return path;
    }
    auto addStream = [](IStorage* owner, const wchar_t* name) {
        IStream* stream = nullptr;
        if (SUCCEEDED(owner->CreateStream(name, mode, 0, 0, &stream))) {
            ULONG written = 0;
            stream->Write("study data", 10, &written);
            stream->Release();
        }
    };
    IStorage* store = nullptr;
    IStorage* korworks = nullptr;
    IStorage* thirdParty = nullptr;
    root->CreateStorage(L"ThirdPtyStore", mode, 0, 0, &store);
    store->CreateStorage(L"Korworks", mode, 0, 0, &korworks);
    addStream(korworks, L"results");
    addStream(store, L"KorvexQuiklet");
    root->CreateStorage(L"ThirdPty", mode, 0, 0, &thirdParty);
    addStream(thirdParty, L"SUSTAINABILITY2010FULL");
    addStream(root, L"Contents");
    thirdParty->Release();
    korworks->Release();
    store->Release();
    root->Release();
    return path;
}

void listInto(IStorage* storage, const std::wstring& prefix, std::vector<std::wstring>& out) {
    IEnumSTATSTG* elements = nullptr;
    if (FAILED(storage->EnumElements(0, nullptr, 0, &elements))) {
        return;
    }
    STATSTG stat;
    while (elements->Next(1, &stat, nullptr) == S_OK) {
        const std::wstring name = prefix + stat.pwcsName;
        out.push_back(name);
        IStorage* child = nullptr;
        if (stat.type == STGTY_STORAGE &&
            SUCCEEDED(storage->OpenStorage(stat.pwcsName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                           nullptr, 0, &child))) {
            listInto(child, name + L"/", out);
            child->Release();
        }
        CoTaskMemFree(stat.pwcsName);
    }
    elements->Release();
}

std::vector<std::wstring> listDocfile(const std::filesystem::path& path) {
    std::vector<std::wstring> out;
    IStorage* root = nullptr;
    if (SUCCEEDED(StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr,
                                 0, &root))) {
        listInto(root, L"", out);
        root->Release();
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(Win32DialogTest, TicksSurviveAFailedFileTestAndTheCleanSucceedsOnDisk) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) / (L"studypurge Entwürfe " + std::to_wstring(GetTickCount()));
    const std::filesystem::path document = makeDocfile(folder);
    dialog_->controller().setStatusText(toUtf8(kCleaned));  // from an earlier clean

    std::vector<std::wstring> shown;
    const std::wstring missing = (folder / L"missing.pldprt").wstring();
    type(missing);
    click(IDC_CLEAN_SIMULATION);
    click(IDC_CLEAN_SUSTAINABILITY);
    {
        ModalAnswers answers(window_, {messageBox(shown)});
        click(IDC_CLEAN_FILE);
    }
    EXPECT_EQ(shown, std::vector<std::wstring>{kNotFound});
    EXPECT_EQ(text(IDC_FILE_PATH), missing);
    EXPECT_EQ(tickedIds(), (std::vector<int>{IDC_CLEAN_SIMULATION, IDC_CLEAN_SUSTAINABILITY}));
    EXPECT_EQ(text(IDC_STATUS_LINE), L"");

    // The path corrected; the ticks are still there.
    type(document.wstring());
    click(IDC_CLEAN_FILE);

    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(text(IDC_STATUS_LINE), kCleaned);
    EXPECT_EQ(text(IDC_FILE_PATH), L"");
    EXPECT_TRUE(tickedIds().empty());
    EXPECT_EQ(listDocfile(document),
              (std::vector<std::wstring>{L"Contents", L"ThirdPty", L"ThirdPtyStore",
                                         L"ThirdPtyStore/KorvexQuiklet"}));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST_F(Win32DialogTest, ADocumentNeitherRouteCanOpenIsReportedAndKeepsPathAndTicks) {
    // Not a compound file, and no document manager is registered here.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring notes = std::wstring(temp) + L"studypurge notes.pldasm";
    HANDLE file = CreateFileW(notes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a compound file", 19, &written, nullptr);
    CloseHandle(file);
    dialog_->controller().setStatusText(toUtf8(kCleaned));
    type(notes);
    click(IDC_CLEAN_MOTION);
    std::vector<std::wstring> shown;
    {
        ModalAnswers answers(window_, {messageBox(shown)});
        click(IDC_CLEAN_FILE);
    }
    DeleteFileW(notes.c_str());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(L"Nothing was changed."), std::wstring::npos);
    EXPECT_EQ(text(IDC_STATUS_LINE), L"");
    EXPECT_EQ(text(IDC_FILE_PATH), notes);
    EXPECT_EQ(tickedIds(), std::vector<int>{IDC_CLEAN_MOTION});
}

TEST_F(Win32DialogTest, BrowsingSetsThePathAndAlwaysClearsTheStatusLine) {
    type(L"C:\\typed\\by hand.pldprt");
    click(IDC_CLEAN_MOTION);
    dialog_->controller().setStatusText(toUtf8(kCleaned));
    std::wstring firstFilter;
    bool readOnlyShown = true;
    {
        ModalAnswers answers(window_, {[&](HWND open) {
                                 wchar_t item[128] = {};
                                 SendDlgItemMessageW(open, kOpenDialogFilter, CB_GETLBTEXT, 0,
                                                     reinterpret_cast<LPARAM>(item));
                                 firstFilter = item;
                                 HWND readOnly = GetDlgItem(open, kOpenDialogReadOnly);
                                 readOnlyShown = readOnly != nullptr && IsWindowVisible(readOnly);
                                 ModalAnswers::answer(open, IDCANCEL);
                             }});
        click(IDC_BROWSE);
    }
    EXPECT_EQ(firstFilter, L"PLANDRY Files (*.pldprt;*.pldasm)");
    EXPECT_FALSE(readOnlyShown);
    EXPECT_EQ(text(IDC_STATUS_LINE), L"");
    EXPECT_EQ(text(IDC_FILE_PATH), L"C:\\typed\\by hand.pldprt");

    // A chosen file replaces the path; the tick set by hand stays.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring chosen = std::wstring(temp) + L"Pump Assembly.pldasm";
    HANDLE file = CreateFileW(chosen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    dialog_->controller().setStatusText(toUtf8(kCleaned));
    {
        ModalAnswers answers(window_, {[&](HWND open) {
                                 SetDlgItemTextW(open, kOpenDialogFileName, chosen.c_str());
                                 ModalAnswers::answer(open, IDOK);
                             }});
        click(IDC_BROWSE);
    }
    DeleteFileW(chosen.c_str());
    EXPECT_EQ(text(IDC_STATUS_LINE), L"");
    EXPECT_EQ(text(IDC_FILE_PATH), chosen);
    EXPECT_EQ(tickedIds(), std::vector<int>{IDC_CLEAN_MOTION});
}

TEST_F(Win32DialogTest, SystemMenuItemOpensTheAboutBox) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    ASSERT_NE(menu, nullptr);
    wchar_t item[64] = {};
    GetMenuStringW(menu, IDM_ABOUTBOX, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"&About studypurge...");

    std::wstring caption;
    std::vector<std::wstring> texts;
    std::vector<RECT> places;  // each control's, in the box's client coordinates
    std::vector<SIZE> needs;   // what each text needs in the control's font
    RECT client{};
    LRESULT defaultId = 0;
    {
        ModalAnswers answers(window_, {[&](HWND about) {
                                 caption = windowText(about);
                                 GetClientRect(about, &client);
                                 for (HWND c = GetWindow(about, GW_CHILD); c != nullptr;
                                      c = GetWindow(c, GW_HWNDNEXT)) {
                                     texts.push_back(windowText(c));
                                     places.push_back(placeIn(about, c));
                                     needs.push_back(textNeeds(c));
                                 }
                                 defaultId = SendMessageW(about, DM_GETDEFID, 0, 0);
                                 ModalAnswers::answer(about, IDOK);
                             }});
        SendMessageW(window_, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    }
    EXPECT_EQ(caption, L"About studypurge");
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1], L"studypurge version 2012");
    EXPECT_EQ(texts[2],
              L"Removes the data of analysis products\nfrom PLANDRY part and assembly files.");
    EXPECT_EQ(texts[3], L"korvex-tools " KT_VERSION);
    EXPECT_EQ(texts[4], L"OK");
    // The suite's line sits under the description, inside the box, and is not cut off.
    EXPECT_GE(places[3].top, places[2].bottom);
    EXPECT_LE(places[3].bottom, client.bottom);
    for (std::size_t i : {1u, 2u, 3u}) {
        SCOPED_TRACE(i);
        EXPECT_LE(needs[i].cx, places[i].right - places[i].left);
        EXPECT_LE(needs[i].cy, places[i].bottom - places[i].top);
    }
    EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defaultId), IDOK);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(dialog_->result(), 0);
}

// The width of a control's text in its font.
int textWidth(HWND control) {
    const std::wstring text = windowText(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.cx;
}

constexpr int kGrowing[] = {IDC_CHOOSE_LABEL,        IDC_PRODUCTS_LABEL, IDC_CLEAN_SIMULATION,
                            IDC_CLEAN_QUIKLET,       IDC_CLEAN_MOTION,   IDC_CLEAN_FLOW,
                            IDC_CLEAN_SUSTAINABILITY};

TEST_F(Win32DialogTest, ControlsSitWhereTheTemplateSaysInTabOrderWithTheirTexts) {
    EXPECT_EQ(windowText(window_), L"PLANDRY studypurge ");
    RECT client;
    GetClientRect(window_, &client);
    RECT size = {0, 0, 323, 239};
    MapDialogRect(window_, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_TRUE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
        EXPECT_NE(SendMessageW(window_, WM_GETICON, kind, 0), 0) << kind;
    }
    EXPECT_EQ(SendMessageW(window_, WM_QUERYDRAGICON, 0, 0),
              SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));

    struct Control {
        int id;  // -1 for the icons, which keep the icon's own size
        const wchar_t* text;
        RECT units;  // left, top, width, height
    };
    const Control controls[] = {
        {IDC_GROUP, L"Clean all Simulation data from file", {6, 7, 310, 182}},
        {IDC_CHOOSE_LABEL, L"Choose PLANDRY file (*.pldprt;*.pldasm)", {13, 25, 142, 8}},
        {IDC_FILE_PATH, L"", {13, 38, 246, 15}},
        {IDC_BROWSE, L"Browse...", {263, 38, 46, 14}},
        {IDC_PRODUCTS_LABEL, L"Clean studies from following products:", {13, 62, 119, 8}},
        {-1, L"", {18, 77, 20, 20}},
        {IDC_CLEAN_SIMULATION, L"PLANDRY Simulation", {43, 83, 99, 10}},
        {-1, L"", {18, 96, 20, 20}},
        {IDC_CLEAN_QUIKLET, L"SimulationQuiklet", {43, 102, 69, 10}},
        {-1, L"", {18, 117, 20, 20}},
        {IDC_CLEAN_MOTION, L"PLANDRY Motion", {43, 123, 85, 10}},
        {-1, L"", {18, 139, 20, 20}},
        {IDC_CLEAN_FLOW, L"PLANDRY Flow Simulation (include Driftlet)", {43, 145, 178, 10}},
        {-1, L"", {18, 163, 20, 20}},
        {IDC_CLEAN_SUSTAINABILITY, L"PLANDRY  Sustainability", {43, 169, 145, 10}},
        {IDC_STATUS_LINE, L"", {10, 195, 288, 8}},
        {IDC_CLEAN_FILE, L"Clean File", {154, 216, 50, 14}},
        {IDCANCEL, L"Close", {210, 216, 50, 14}},
        {IDC_HELP_BUTTON, L"Help", {265, 216, 50, 14}},
    };
    HWND child = GetWindow(window_, GW_CHILD);
    for (const Control& c : controls) {
        SCOPED_TRACE(toUtf8(c.text) + " " + std::to_string(c.units.left) + "," +
                     std::to_string(c.units.top));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        if (c.id != -1) {
            EXPECT_EQ(windowText(child), c.text);
        }
        // Position and size convert separately, as the dialog manager does.
        RECT expected = c.units;
        MapDialogRect(window_, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.bottom - actual.top,
                  c.id == -1 ? GetSystemMetrics(SM_CYICON) : expected.bottom - expected.top);
        if (c.id == -1) {
            EXPECT_EQ(actual.right - actual.left, GetSystemMetrics(SM_CXICON));
            EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0);
        } else if (std::find(std::begin(kGrowing), std::end(kGrowing), c.id) !=
                   std::end(kGrowing)) {
            // A text that does not fit in this font widens its control instead of clipping.
            EXPECT_GE(actual.right, expected.right);
            EXPECT_LE(textWidth(child), actual.right - actual.left);
        } else {
            EXPECT_EQ(actual.right, expected.right);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);

    HWND status = GetDlgItem(window_, IDC_STATUS_LINE);
    dialog_->controller().setStatusText(toUtf8(kCleaned));
    RECT statusPlace;
    GetWindowRect(status, &statusPlace);
    EXPECT_LE(textWidth(status), statusPlace.right - statusPlace.left);

    // Tab visits the focusable controls in template order and wraps.
    const std::vector<int> expectedOrder = {IDC_FILE_PATH,
                                            IDC_BROWSE,
                                            IDC_CLEAN_SIMULATION,
                                            IDC_CLEAN_QUIKLET,
                                            IDC_CLEAN_MOTION,
                                            IDC_CLEAN_FLOW,
                                            IDC_CLEAN_SUSTAINABILITY,
                                            IDC_CLEAN_FILE,
                                            IDCANCEL,
                                            IDC_HELP_BUTTON,
                                            IDC_FILE_PATH};
    std::vector<int> order;
    HWND focus = GetDlgItem(window_, IDC_FILE_PATH);
    for (std::size_t i = 0; i < expectedOrder.size(); ++i) {
        order.push_back(GetDlgCtrlID(focus));
        focus = GetNextDlgTabItem(window_, focus, FALSE);
    }
    EXPECT_EQ(order, expectedOrder);
}

// Delivers queued input to the dialog the way the program's modal loop does.
void pumpDialogMessages(HWND dialog) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

TEST_F(Win32DialogTest, EnterOnAFocusedButtonClicksItAndInThePathBoxEndsTheDialog) {
    HWND clean = GetDlgItem(window_, IDC_CLEAN_FILE);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(clean), TRUE);
    std::vector<std::wstring> shown;
    {
        ModalAnswers answers(window_, {messageBox(shown)});
        PostMessageW(clean, WM_KEYDOWN, VK_RETURN, 1);
        pumpDialogMessages(window_);
    }
    EXPECT_EQ(shown, std::vector<std::wstring>{kNoFile});
    EXPECT_TRUE(IsWindow(window_));

    HWND edit = GetDlgItem(window_, IDC_FILE_PATH);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    pumpDialogMessages(window_);
    EXPECT_EQ(dialog_->result(), IDOK);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Win32DialogTest, CloseEndsTheDialogAndHelpIsAskedForThisWindow) {
    click(IDC_HELP_BUTTON);
    EXPECT_EQ(help_.owners, std::vector<void*>{window_});
    EXPECT_TRUE(IsWindow(window_));
    click(IDCANCEL);
    EXPECT_EQ(dialog_->result(), IDCANCEL);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Win32DialogTest, RunsModallyUntilClosed) {
    CkwpurgeDlg modal(GetModuleHandleW(nullptr), {messages_, files_, help_, purge_});
    std::wstring caption;
    {
        ModalAnswers answers(window_, {[&](HWND shown) {
                                 caption = windowText(shown);
                                 SendMessageW(GetDlgItem(shown, IDCANCEL), BM_CLICK, 0, 0);
                             }});
        EXPECT_EQ(modal.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(caption, L"PLANDRY studypurge ");
    EXPECT_EQ(modal.window(), nullptr);
}

TEST(Win32ResourcesTest, StringTableMatchesTheDialogBehaviour) {
    for (UINT id = 101; id <= 106; ++id) {
        const wchar_t* text = nullptr;
        const int length =
            LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
        EXPECT_EQ(toUtf8(std::wstring(text, length > 0 ? length : 0)), spapp::loadString(id)) << id;
    }
}

TEST(Win32ResourcesTest, FilterBecomesTheOpenDialogsList) {
    const std::wstring list = openFileFilter("A (*.a)|*.a|B|*.b;*.c||");
    EXPECT_EQ(list, std::wstring(L"A (*.a)\0*.a\0B\0*.b;*.c\0\0\0\0", 25));
    // Without closing bars the list still ends in two NULs.
    EXPECT_EQ(openFileFilter("A|*.a"), std::wstring(L"A\0*.a\0\0", 7));
}

}  // namespace
}  // namespace spwin
