// The property panel (Win32) under Wine over the real library operations and the sample
// library: the lists, the grid's cells in each unit system, and entries typed with keys
// and clicks sent to the controls, the user's answers scripted.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PropertyPanelWindow.h"
#include "WideText.h"
#include "app/PanelRules.h"
#include "data/Cp1252.h"
#include "data/LibraryFileSystem.h"
#include "data/Material.h"
#include "data/ModelCatalogue.h"
#include "data/library/LibraryController.h"
#include "library_fakes.h"
#include "units/UnitSystems.h"
#include "units/registry/clsRegistry.h"

namespace material::win32 {
namespace {

// The library operations' window as far as the panel is concerned.
class PanelLibraryWindow final : public testing::FakeWindow {
  public:
    PropertyPanelWindow* panel = nullptr;

    void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                            const std::array<double, kPanelFactorCount>&,
                            const std::array<double, kPanelFactorCount>&) override {
        panel->setUnitLabelTable(labels);
    }
    void FillUnitList(const std::vector<std::string>& texts) override {
        panel->fillUnitList(texts);
    }
    void FillTypeList(const std::vector<std::string>& texts) override {
        panel->fillTypeList(texts);
    }
    int UnitListPosition() const override { return panel->unitListPosition(); }
    int TypeListPosition() const override { return panel->typeListPosition(); }
    void SelectUnitListPosition(int position) override { panel->selectUnitListPosition(position); }
    std::string ShownUnitSystem() const override { return panel->shownUnitSystem(); }
    void RefreshUnitDisplay() override { panel->typeCombo_Click(); }
    void EndGridEdit() override { panel->endGridEdit(); }
    void ShowMaterialAgain() override { panel->typeCombo_Click(); }
    void NodeClick(const std::string&) override { panel->controller().rebuildGrid(); }
};

HWND newTopLevelWindow() {
    static const wchar_t* const kClass = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PanelTestHost";
        RegisterClassExW(&windowClass);
        return L"PanelTestHost";
    }();
    HWND window = CreateWindowExW(0, kClass, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  900, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    return window;
}

void drain() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring itemText(HWND list, int item, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, item, column, text, 256);
    return text;
}

std::wstring headingText(HWND list, int column) {
    wchar_t text[64] = {};
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    request.pszText = text;
    request.cchTextMax = 64;
    ListView_GetColumn(list, column, &request);
    return text;
}

std::wstring shown(const std::string& libraryText) {
    return widen(DecodeLibraryText(libraryText));
}

// The SI value of `code` held by `record`, or -1 when it holds none.
double held(const clsMaterial& record, const char* code) {
    clsMaterial probe(record);
    probe.setProperty(code);
    if (probe.Index() == kNoSlot || !probe.HasValue(probe.Index())) {
        return -1.0;
    }
    return probe.value();
}

class Win32PanelTest : public ::testing::Test {
  protected:
    Win32PanelTest() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        window.panel = &panel;
        panel.place(RECT{0, 0, 760, 520});
        prompts.openChoices.push_back(KT_SAMPLE_LIBRARY);
        library.OpenLibrary();
        SetFocus(panel.grid());
        drain();
    }
    ~Win32PanelTest() override { DestroyWindow(host); }

    HWND grid() const { return panel.grid(); }
    const clsMaterial& material() {
        return *library.MaterialAt(library.SelectedMaterialPosition());
    }
    int rowOf(const std::string& code) const {
        for (int row = 1; row <= panel.RowCount(); ++row) {
            if (panel.CellText({row, kPropertyColumn}) == code) {
                return row;
            }
        }
        ADD_FAILURE() << "no row " << code;
        return 1;
    }
    std::string value(const std::string& code) const {
        return panel.CellText({rowOf(code), kValueColumn});
    }
    // The unit text of `code` without the blanks the library pads it with.
    std::string units(const std::string& code) const {
        std::string text = panel.CellText({rowOf(code), kUnitsColumn});
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

    // A choice of the user's in one of the lists.
    void choose(HWND combo, int position) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(panel.window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        drain();
    }
    void mouse(UINT message, GridCell cell) {
        RECT area{};
        ListView_GetSubItemRect(grid(), cell.row - 1, cell.column, LVIR_LABEL, &area);
        const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        SendMessageW(grid(), message, MK_LBUTTON, at);
        SendMessageW(grid(), WM_LBUTTONUP, 0, at);
        drain();
    }
    void click(GridCell cell) { mouse(WM_LBUTTONDOWN, cell); }
    void doubleClick(GridCell cell) { mouse(WM_LBUTTONDBLCLK, cell); }
    void key(UINT virtualKey) {
        SendMessageW(GetFocus(), WM_KEYDOWN, virtualKey, 0);
        drain();
    }
    void type(const std::wstring& text) {
        for (wchar_t character : text) {
            SendMessageW(GetFocus(), WM_CHAR, character, 0);
        }
        drain();
    }
    // Clicks the value cell of `code` and types `text` over its value; the editor stays open.
    void typeInto(const std::string& code, const std::wstring& text) {
        click({rowOf(code), kValueColumn});
        ASSERT_NE(panel.cellEditor(), nullptr);
        ASSERT_EQ(GetFocus(), panel.cellEditor());
        type(text);
    }
    bool isCurrent(GridCell cell) const {
        const std::optional<GridCell> current = panel.CurrentCell();
        return current && current->row == cell.row && current->column == cell.column;
    }

    testing::ScriptedPrompts prompts;
    PanelLibraryWindow window;
    testing::FixedSeparator separator;
    clsRegistry settings{std::make_unique<testing::MemoryStore>()};
    LibraryController library{
        {prompts, window, PlatformFileSystem(), separator, settings, nullptr}};
    HWND host = newTopLevelWindow();
    PropertyPanelWindow panel{host, 100, library, prompts};
};

// ---- What the panel shows ----------------------------------------------------------------

TEST_F(Win32PanelTest, TheListsHoldTheModelTypesAndUnitSystems) {
    ASSERT_EQ(ComboBox_GetCount(panel.typeCombo()), static_cast<int>(kModelTypeNames.size()));
    EXPECT_EQ(ComboBox_GetCurSel(panel.typeCombo()), 0);
    ASSERT_EQ(ComboBox_GetCount(panel.unitsCombo()), 3);
    wchar_t text[64] = {};
    ComboBox_GetLBText(panel.unitsCombo(), 2, text);
    EXPECT_STREQ(text, L"MKS(G)");
    EXPECT_TRUE(IsWindowVisible(panel.window()));
    // The labels as the user reads them.
    std::vector<std::wstring> labels;
    for (HWND child = GetWindow(panel.window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {}, caption[64] = {};
        GetClassNameW(child, className, 16);
        GetWindowTextW(child, caption, 64);
        if (std::wstring(className) == L"Static") {
            labels.push_back(caption);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"Type           :", L"Units  :"}));
}

TEST_F(Win32PanelTest, TheGridShowsTheMaterialInEachUnitSystem) {
    for (int c = 0; c < kGridColumnCount; ++c) {
        EXPECT_EQ(headingText(grid(), c),
                  shown(std::string(kGridHeadings[static_cast<size_t>(c)])));
    }
    for (int position = 0; position < 3; ++position) {
        SCOPED_TRACE(position);
        choose(panel.unitsCombo(), position);
        const std::string system(UnitSystemAtPosition(position));
        const std::vector<GridRowLayout> rows =
            GridRows(0, position, panel.controller().unitCaptions(), true);
        ASSERT_EQ(panel.RowCount(), static_cast<int>(rows.size()));
        ASSERT_EQ(ListView_GetItemCount(grid()), panel.RowCount());
        for (int r = 1; r <= panel.RowCount(); ++r) {
            const GridRowLayout& row = rows[static_cast<size_t>(r - 1)];
            const std::string number = GridValueText(material(), row.lookupCode, system);
            const std::string expected[] = {
                row.code, row.description,
                NumericCellText(number, library.Numbers()).value_or(number), row.units};
            for (int c = 0; c < kGridColumnCount; ++c) {
                EXPECT_EQ(panel.CellText({r, c}), expected[c]) << row.code << " column " << c;
                EXPECT_EQ(itemText(grid(), r - 1, c), shown(expected[c]));
            }
        }
    }
}

TEST_F(Win32PanelTest, TheFirstSteelReadsAsTheLibraryHoldsIt) {
    struct Case {
        int position;
        const char* modulus;
        const char* units;
    };
    for (const Case& c : {Case{0, "30463140", "psi"}, Case{1, "210000000000", "N/m^2"},
                          Case{2, "2141404", "Kgf/cm^2"}}) {
        choose(panel.unitsCombo(), c.position);
        EXPECT_EQ(value("EX"), c.modulus);
        EXPECT_EQ(units("EX"), c.units);
        EXPECT_EQ(value("NUXY"), "0.3");
    }
}

TEST_F(Win32PanelTest, TheViscoelasticTypeHasItsOwnRows) {
    choose(panel.unitsCombo(), 1);
    choose(panel.typeCombo(), 12);
    EXPECT_EQ(panel.typeListPosition(), 12);
    const std::vector<GridRowLayout> rows =
        GridRows(12, 1, panel.controller().unitCaptions(), true);
    ASSERT_EQ(panel.RowCount(), 39);
    for (int r = 1; r <= panel.RowCount(); ++r) {
        EXPECT_EQ(panel.CellText({r, kPropertyColumn}), rows[static_cast<size_t>(r - 1)].code);
    }
    EXPECT_EQ(panel.CellText({rowOf("REFTEMP"), kDescriptionColumn}),
              "Glass transition temperature");
    EXPECT_EQ(panel.CellText({rowOf("REFTEMP"), kUnitsColumn}), "Kelvin");
}

TEST_F(Win32PanelTest, ColumnsFitTheirWidestTextAndTheLastFillsTheGrid) {
    choose(panel.typeCombo(), 12);  // long descriptions
    for (int c = 0; c < kGridColumnCount; ++c) {
        int widest = ListView_GetStringWidth(grid(), panel.HeadingText(c).c_str());
        for (int r = 1; r <= panel.RowCount(); ++r) {
            widest = std::max(
                widest, ListView_GetStringWidth(grid(), shown(panel.CellText({r, c})).c_str()));
        }
        EXPECT_GE(panel.ColumnWidth(c), widest + 6) << "column " << c;
        if (c + 1 < kGridColumnCount) {
            EXPECT_LE(panel.ColumnWidth(c), widest + 24) << "column " << c;
        }
    }
    RECT client{};
    GetClientRect(grid(), &client);
    int total = 0;
    for (int c = 0; c < kGridColumnCount; ++c) {
        total += panel.ColumnWidth(c);
    }
    EXPECT_EQ(total, client.right);
}

TEST_F(Win32PanelTest, AValueCellsTooltipGivesTheThreeSystemsAsStored) {
    choose(panel.unitsCombo(), 1);
    const int row = rowOf("EX");
    const std::string expected = GridValueTooltip(material(), "EX");
    EXPECT_EQ(panel.ValueTooltip(row), expected);
    EXPECT_NE(expected.find("psi"), std::string::npos);

    // Hovering the cell puts the text into the tooltip control.
    RECT area{};
    ListView_GetSubItemRect(grid(), row - 1, kValueColumn, LVIR_LABEL, &area);
    SendMessageW(grid(), WM_MOUSEMOVE, 0, MAKELPARAM(area.left + 4, area.top + 4));
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = grid();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageW(panel.valueTooltips(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    std::wstring lines = shown(expected);
    EXPECT_EQ(text, lines);

    // A value just stored shows in it at once.
    typeInto("EX", L"3E11");
    key(VK_DOWN);
    EXPECT_EQ(panel.ValueTooltip(row), GridValueTooltip(material(), "EX"));
    EXPECT_NE(panel.ValueTooltip(row), expected);
}

// ---- Entries -----------------------------------------------------------------------------

struct EntryCase {
    const char* code;
    const wchar_t* typed;
    double stored;        // SI value held afterwards; 0: the one held before
    const char* message;  // "" for none
    const char* shownAfter;
    const char* shownAgain;  // after the grid is built again
};

class Win32PanelEntryTest : public Win32PanelTest,
                            public ::testing::WithParamInterface<EntryCase> {};

TEST_P(Win32PanelEntryTest, LeavingAValueCellJudgesWhatWasTyped) {
    const EntryCase c = GetParam();
    choose(panel.unitsCombo(), 1);
    const double before = held(material(), c.code);
    typeInto(c.code, c.typed);
    key(VK_DOWN);  // leaves the cell for the one below
    EXPECT_DOUBLE_EQ(held(material(), c.code), c.stored != 0 ? c.stored : before);
    EXPECT_EQ(prompts.takeAll(),
              *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(value(c.code), c.shownAfter);
    EXPECT_TRUE(isCurrent({rowOf(c.code) + 1, kValueColumn}));
    EXPECT_NE(panel.cellEditor(), nullptr);  // the next value cell is open

    // Shown again, a stored value reads in the grid's own number form.
    choose(panel.typeCombo(), 1);
    choose(panel.typeCombo(), 0);
    EXPECT_EQ(value(c.code), c.shownAgain);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, Win32PanelEntryTest,
    ::testing::Values(EntryCase{"DENS", L"7.8e3", 7800, "", "7.8e3", "7800"},
                      EntryCase{"NUXY", L"-0.25", -0.25, "", "-0.25", "-0.25"},
                      EntryCase{"EX", L"-5", 0, kPositiveValueMessage.data(), "", "210000000000"},
                      EntryCase{"EX", L"12kg", 0, "", "", "210000000000"},
                      EntryCase{"EX", L"1.7976931348623157e308", 0, kValueTooLargeMessage.data(),
                                "", "210000000000"}));

TEST_F(Win32PanelTest, EscapeDropsTheEntry) {
    choose(panel.unitsCombo(), 1);
    const std::string shownBefore = value("EX");
    typeInto("EX", L"123");
    key(VK_ESCAPE);
    EXPECT_EQ(panel.cellEditor(), nullptr);
    EXPECT_EQ(GetFocus(), grid());
    EXPECT_EQ(value("EX"), shownBefore);
    key(VK_UP);
    EXPECT_EQ(value("EX"), shownBefore);
    EXPECT_FALSE(library.Modified());
}

TEST_F(Win32PanelTest, OnlyTheValueColumnIsEdited) {
    const int row = rowOf("EX");
    for (int column : {kPropertyColumn, kDescriptionColumn, kUnitsColumn}) {
        SCOPED_TRACE(column);
        click({row, column});
        EXPECT_TRUE(isCurrent({row, column}));
        key(VK_F2);
        key(VK_RETURN);
        type(L"5");
        doubleClick({row, column});
        EXPECT_EQ(panel.cellEditor(), nullptr);
        EXPECT_EQ(panel.CellText({row, column}).find('5'), std::string::npos);
    }
    // Entering the value cell opens its editor; after Enter closed it, F2, a double
    // click or a typed character open it again.
    key(VK_LEFT);
    EXPECT_TRUE(isCurrent({row, kValueColumn}));
    ASSERT_NE(panel.cellEditor(), nullptr);
    key(VK_RETURN);
    EXPECT_EQ(panel.cellEditor(), nullptr);
    key(VK_F2);
    EXPECT_NE(panel.cellEditor(), nullptr);
    key(VK_ESCAPE);
    doubleClick({row, kValueColumn});
    EXPECT_NE(panel.cellEditor(), nullptr);
    key(VK_ESCAPE);
    type(L"4");
    ASSERT_NE(panel.cellEditor(), nullptr);
    wchar_t text[32] = {};
    GetWindowTextW(panel.cellEditor(), text, 32);
    EXPECT_STREQ(text, L"4");
}

// ---- Keys, focus and lists ---------------------------------------------------------------

TEST_F(Win32PanelTest, KeysMoveTheCurrentCellWithinTheGrid) {
    click({1, kPropertyColumn});
    key(VK_UP);
    key(VK_LEFT);
    EXPECT_TRUE(isCurrent({1, kPropertyColumn}));
    key(VK_END);
    EXPECT_TRUE(isCurrent({1, kUnitsColumn}));
    key(VK_DOWN);
    EXPECT_TRUE(isCurrent({2, kUnitsColumn}));
    key(VK_HOME);
    EXPECT_TRUE(isCurrent({2, kPropertyColumn}));
    key(VK_RIGHT);
    key(VK_RIGHT);
    EXPECT_TRUE(isCurrent({2, kValueColumn}));
    EXPECT_NE(panel.cellEditor(), nullptr);
    // Up and down leave an open editor for the next row's value cell.
    key(VK_DOWN);
    EXPECT_TRUE(isCurrent({3, kValueColumn}));
    EXPECT_EQ(GetFocus(), panel.cellEditor());

    // Built again while in the grid, it has no current cell until the first key.
    key(VK_ESCAPE);
    panel.typeCombo_Click();
    EXPECT_FALSE(panel.CurrentCell().has_value());
    key(VK_SHIFT);
    EXPECT_FALSE(panel.CurrentCell().has_value());
    key(VK_DOWN);
    EXPECT_TRUE(isCurrent({1, kPropertyColumn}));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    key(VK_END);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(isCurrent({panel.RowCount(), kPropertyColumn}));
}

TEST_F(Win32PanelTest, EnterInTheEditorReachesItThroughADialogLoop) {
    choose(panel.unitsCombo(), 1);
    typeInto("EX", L"3E11");
    MSG enter{panel.cellEditor(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(host, &enter));
    drain();
    EXPECT_EQ(panel.cellEditor(), nullptr);
    EXPECT_EQ(value("EX"), "3E11");
    EXPECT_TRUE(isCurrent({rowOf("EX"), kValueColumn}));
    // Stored once the cell is left, here by a save's end of the edit.
    panel.endGridEdit();
    EXPECT_DOUBLE_EQ(held(material(), "EX"), 3e11);
    // A key typed on the cell after that is a new entry of its own.
    type(L"6");
    key(VK_DOWN);
    EXPECT_DOUBLE_EQ(held(material(), "EX"), 6);
}

TEST_F(Win32PanelTest, LeavingTheGridForAListStoresTheEntry) {
    choose(panel.unitsCombo(), 1);
    typeInto("EX", L"3E11");
    SetFocus(panel.typeCombo());
    drain();
    EXPECT_EQ(GetFocus(), panel.typeCombo());
    EXPECT_DOUBLE_EQ(held(material(), "EX"), 3e11);
    EXPECT_TRUE(isCurrent({1, kDescriptionColumn}));
    EXPECT_EQ(panel.cellEditor(), nullptr);
}

TEST_F(Win32PanelTest, TabLeavesTheGridForTheNextControlAndJudgesTheEntry) {
    HWND next = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 530, 100,
                                20, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    choose(panel.unitsCombo(), 1);
    typeInto("DENS", L"-1");
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), next);
    EXPECT_EQ(prompts.takeAll(), std::vector<std::string>{std::string(kPositiveValueMessage)});
    EXPECT_EQ(value("DENS"), "");
    EXPECT_TRUE(isCurrent({1, kDescriptionColumn}));

    typeInto("DENS", L"7000");
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), next);
    EXPECT_DOUBLE_EQ(held(material(), "DENS"), 7000);
}

TEST_F(Win32PanelTest, AnotherWindowTakingTheFocusLeavesTheEntryOpen) {
    choose(panel.unitsCombo(), 1);
    const double before = held(material(), "EX");
    typeInto("EX", L"3E11");
    HWND other = newTopLevelWindow();
    SetFocus(other);
    drain();
    EXPECT_DOUBLE_EQ(held(material(), "EX"), before);
    EXPECT_TRUE(isCurrent({rowOf("EX"), kValueColumn}));
    EXPECT_NE(panel.cellEditor(), nullptr);
    DestroyWindow(other);
}

TEST_F(Win32PanelTest, FillingTheListsReportsNoChoice) {
    choose(panel.unitsCombo(), 2);
    choose(panel.typeCombo(), 3);
    panel.fillUnitList({kUnitListTexts.begin(), kUnitListTexts.end()});
    EXPECT_EQ(ComboBox_GetCurSel(panel.unitsCombo()), 2);
    EXPECT_EQ(panel.shownUnitSystem(), "MKS");
    panel.fillTypeList({kModelTypeNames.begin(), kModelTypeNames.end()});
    EXPECT_EQ(ComboBox_GetCurSel(panel.typeCombo()), 0);
    EXPECT_EQ(panel.typeListPosition(), 0);
    panel.selectUnitListPosition(0);
    EXPECT_EQ(ComboBox_GetCurSel(panel.unitsCombo()), 0);
    EXPECT_EQ(units("EX"), "psi");
}

}  // namespace
}  // namespace material::win32
