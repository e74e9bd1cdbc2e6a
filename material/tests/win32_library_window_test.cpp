// The library window of material.exe driven as a user drives it, under Wine: keys posted to
// the focused control and handled by the program's own message handling (accelerators,
// dialog navigation), message boxes answered from a timer.
#include "units/registry/WindowsRegistryStore.h"
#include "win32_browser_fixture.h"

namespace material::win32 {
namespace {

// Holds Ctrl down for the keys posted while it lives.
class CtrlHeld {
  public:
    CtrlHeld() { setCtrl(0x80); }
    ~CtrlHeld() { setCtrl(0); }
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;

  private:
    static void setCtrl(BYTE state) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = state;
        SetKeyboardState(keys);
    }
};

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool visible(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

class LibraryWindowTest : public Win32BrowserTest {
  protected:
    using Win32BrowserTest::Win32BrowserTest;

    void SetUp() override {
        ShowWindow(browser.frame().window(), SW_SHOW);
        SetForegroundWindow(browser.frame().window());  // the keys go to the active window
        openSample();
        ASSERT_NE(browser.form(), nullptr);
        form = browser.form();
        tree = form->treeView();
    }

    // A key pressed on the focused control and handled as the program's loop handles it.
    void press(UINT key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        drainMessages(browser.frame());
    }
    void type(const std::wstring& text) {
        for (wchar_t c : text) {
            PostMessageW(GetFocus(), WM_CHAR, c, 1);
        }
        drainMessages(browser.frame());
    }
    void focus(HWND control) {
        SetFocus(control);
        drainMessages(browser.frame());
    }

    // The tree's selection moved by the arrow keys onto the item with `key`.
    void selectByKeyboard(const std::string& key) {
        focus(tree);
        // From the last category, Home reaches the first node as a key does.
        HTREEITEM last = TreeView_GetRoot(tree);
        while (HTREEITEM next = TreeView_GetNextSibling(tree, last)) {
            last = next;
        }
        TreeView_SelectItem(tree, last);
        press(VK_HOME);
        for (int steps = 0; steps < 5000; ++steps) {
            if (browser.library().Tree().Selected() != nullptr &&
                browser.library().Tree().Selected()->key == key) {
                return;
            }
            press(VK_DOWN);
        }
        FAIL() << "no node " << key;
    }

    const LibraryTree& model() { return browser.library().Tree(); }
    const std::string& categoryKey(std::size_t index) { return model().Roots().at(index); }
    const std::string& materialKey(std::size_t category, std::size_t index) {
        return model().Find(categoryKey(category))->children.at(index);
    }
    const MaterialEntry& entryOf(const std::string& key) {
        return browser.library().Content().entries.at(
            static_cast<std::size_t>(browser.editor().PositionOf(key)));
    }
    std::size_t materialCount() { return browser.library().Content().entries.size(); }

    HTREEITEM itemWithText(const std::wstring& text) {
        for (HTREEITEM category = TreeView_GetRoot(tree); category != nullptr;
             category = TreeView_GetNextSibling(tree, category)) {
            if (itemText(tree, category) == text) {
                return category;
            }
            for (HTREEITEM child = TreeView_GetChild(tree, category); child != nullptr;
                 child = TreeView_GetNextSibling(tree, child)) {
                if (itemText(tree, child) == text) {
                    return child;
                }
            }
        }
        return nullptr;
    }
    std::wstring shownText(const std::string& key) {
        return widen(DecodeLibraryText(model().Find(key)->text));
    }

    LibraryChildWindow* form = nullptr;
    HWND tree = nullptr;
    UnexpectedBoxGuard unexpectedBoxes;
};

TEST_F(LibraryWindowTest, AnOpenedLibraryStartsInItsTreeShowingItsFirstMaterial) {
    EXPECT_EQ(GetFocus(), tree);
    EXPECT_FALSE(form->controller().newMaterialMode());
    EXPECT_TRUE(visible(form->panel().grid()));
    EXPECT_TRUE(visible(form->resetButton()));
}

TEST_F(LibraryWindowTest, ArrowKeysInTheTreeShowEachNodeInThePanel) {
    for (std::size_t index = 0; index < 3; ++index) {
        const std::string key = materialKey(0, index);
        selectByKeyboard(key);
        const MaterialEntry& entry = entryOf(key);
        EXPECT_EQ(textOf(form->categoryField()), widen(DecodeLibraryText(entry.categoryKey)));
        EXPECT_EQ(textOf(form->nameField()), widen(DecodeLibraryText(entry.nameText)));
        EXPECT_EQ(textOf(form->descriptionField()), widen(DecodeLibraryText(entry.description)));
        EXPECT_EQ(form->controller().selectedKey(), key);
        EXPECT_TRUE(visible(form->resetButton()));
        EXPECT_TRUE(visible(form->clearButton()));
        EXPECT_FALSE(visible(form->addButton()));
    }
    // A category offers a new material in it.
    selectByKeyboard(categoryKey(1));
    EXPECT_EQ(textOf(form->categoryField()), widen(DecodeLibraryText(categoryKey(1))));
    EXPECT_EQ(textOf(form->nameField()), L"");
    EXPECT_TRUE(visible(form->addButton()));
    EXPECT_FALSE(visible(form->resetButton()));
    EXPECT_FALSE(visible(form->panel().grid()));
}

TEST_F(LibraryWindowTest, TypedFieldsKeepOnlyWhatTheLibraryCanHold) {
    const std::string key = materialKey(0, 0);
    selectByKeyboard(key);
    focus(form->descriptionField());
    SendMessageW(form->descriptionField(), EM_SETSEL, 0, -1);
    type(L"hardened ");
    EXPECT_EQ(entryOf(key).description, "hardened ") << "stored as typed";

    // A character outside the library's code page is refused with a message naming it.
    const std::wstring before = textOf(form->descriptionField());
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDOK); });
        type(L"\u03a9");
        EXPECT_NE(answerer.texts.find(L"cannot hold"), std::wstring::npos) << answerer.texts;
    }
    EXPECT_EQ(textOf(form->descriptionField()), before);
    EXPECT_EQ(entryOf(key).description, "hardened ");

    // The field holds no more than the file keeps.
    SetWindowTextW(form->descriptionField(), L"");
    ASSERT_EQ(GetFocus(), form->descriptionField()) << "the message took the focus away";
    type(std::wstring(kDescriptionFieldLimit + 5, L'd'));
    EXPECT_EQ(textOf(form->descriptionField()).size(), kDescriptionFieldLimit);
}

TEST_F(LibraryWindowTest, AMaterialIsAddedFromACategoryWithTheAddButton) {
    const std::size_t before = materialCount();
    selectByKeyboard(categoryKey(0));
    focus(form->nameField());
    type(L"Brand new alloy");
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDYES); });
        SendMessageW(form->addButton(), BM_CLICK, 0, 0);
        drainMessages(browser.frame());
        EXPECT_FALSE(answerer.texts.empty()) << "the add question was not asked";
    }
    EXPECT_EQ(materialCount(), before + 1);
    EXPECT_NE(itemWithText(L"Brand new alloy"), nullptr);
    EXPECT_EQ(shownTree(tree), modelTree(model()));
}

TEST_F(LibraryWindowTest, CopyPasteUndoAndRedoByTheirKeys) {
    const std::size_t before = materialCount();
    // The copy's name, "Copy of " and the name, must fit the name field.
    const std::string shortest = materialKey(0, 0);
    browser.editor().Rename(shortest, "Tin");
    selectByKeyboard(shortest);
    {
        const CtrlHeld ctrl;
        press('C');
    }
    selectByKeyboard(categoryKey(1));
    {
        const CtrlHeld ctrl;
        press('V');
    }
    drainMessages(browser.frame());
    ASSERT_EQ(materialCount(), before + 1);
    EXPECT_EQ(shownTree(tree), modelTree(model()));
    EXPECT_EQ(textOf(form->window()).back(), L'*');
    {
        const CtrlHeld ctrl;
        focus(tree);
        press('Z');
    }
    EXPECT_EQ(materialCount(), before);
    EXPECT_EQ(shownTree(tree), modelTree(model()));
    {
        const CtrlHeld ctrl;
        focus(tree);
        press('Y');
    }
    EXPECT_EQ(materialCount(), before + 1);

    // In a text field the same keys edit the text.
    focus(form->descriptionField());
    {
        const CtrlHeld ctrl;
        press('V');
    }
    EXPECT_EQ(materialCount(), before + 1);
}

TEST_F(LibraryWindowTest, TheFilterShowsMatchingMaterialsAndEscapeEmptiesIt) {
    const std::wstring full = itemText(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
    {
        const CtrlHeld ctrl;
        focus(tree);
        press('F');
    }
    EXPECT_EQ(GetFocus(), form->filterField());
    type(full);
    const std::vector<std::wstring> shown = shownTree(tree);
    ASSERT_FALSE(shown.empty());
    EXPECT_LT(shown.size(), modelTree(model()).size());
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"  " + full), shown.end());
    press(VK_ESCAPE);
    EXPECT_EQ(textOf(form->filterField()), L"");
    EXPECT_EQ(shownTree(tree), modelTree(model()));
    EXPECT_NE(browser.form(), nullptr) << "Escape closed the window";
}

// The steps a user takes in the tree, and the same steps through the library operations:
// the files saved afterwards are the same bytes.
TEST_F(LibraryWindowTest, RenameDeleteAndDragWriteWhatTheOperationsWrite) {
    const std::string renamed = materialKey(0, 0);
    const std::string deleted = materialKey(0, 1);
    const std::string target = categoryKey(1);

    // Rename: F2, type, Enter.
    selectByKeyboard(renamed);
    press(VK_F2);
    HWND editor = TreeView_GetEditControl(tree);
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, L"Renamed alloy");
    press(VK_RETURN);
    drainMessages(browser.frame());
    EXPECT_EQ(shownText(renamed), L"Renamed alloy");
    EXPECT_EQ(textOf(form->nameField()), L"Renamed alloy");

    // Delete: the Delete key, answered Yes.
    selectByKeyboard(deleted);
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDYES); });
        press(VK_DELETE);
        EXPECT_NE(answerer.texts.find(L"Are you sure, you want to delete"), std::wstring::npos);
    }
    EXPECT_EQ(model().Find(deleted), nullptr);
    EXPECT_EQ(shownTree(tree), modelTree(model()));
    // Drag: a material dropped on another category moves there.
    // Keys follow the library's order: the material after the deleted one, known afresh.
    const std::string moved = materialKey(0, 1);
    const std::wstring movedText = shownText(moved);
    NMTREEVIEWW drag{};
    drag.hdr.hwndFrom = tree;
    drag.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tree));
    drag.hdr.code = TVN_BEGINDRAGW;
    drag.itemNew.hItem = itemWithText(movedText);
    SendMessageW(form->window(), WM_NOTIFY, drag.hdr.idFrom, reinterpret_cast<LPARAM>(&drag));
    RECT targetRect{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, itemWithText(shownText(target)), &targetRect, TRUE));
    POINT drop{(targetRect.left + targetRect.right) / 2, (targetRect.top + targetRect.bottom) / 2};
    MapWindowPoints(tree, form->window(), &drop, 1);
    SendMessageW(form->window(), WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    drainMessages(browser.frame());
    const auto& targetChildren = model().Find(target)->children;
    EXPECT_TRUE(std::any_of(targetChildren.begin(), targetChildren.end(),
                            [&](const std::string& key) { return shownText(key) == movedText; }))
        << "the material did not move";
    EXPECT_EQ(shownTree(tree), modelTree(model()));

    const std::wstring saved = tempPath(L"material_window_steps.lib");
    saveAs(saved);
    const std::string expected = bytesSavedByTheCores(
        readFile(samplePath()),
        [&](LibraryController& library, LibraryEditor& editor, testing::ScriptedPrompts& script) {
            editor.Rename(renamed, "Renamed alloy");
            library.Tree().Select(deleted);
            script.answers = {MessageAnswer::Yes};
            library.DeleteMaterial();
            const std::string second =
                library.Tree().Find(library.Tree().Roots().at(0))->children.at(1);
            library.SetDragSourceKey(second);
            editor.DropMaterial(second, target);
        });
    const std::string bytes = readFile(saved);
    EXPECT_TRUE(bytes == expected)
        << "saved " << bytes.size() << " bytes, expected " << expected.size();
    DeleteFileW(saved.c_str());
}

TEST_F(LibraryWindowTest, ClosingAChangedLibraryWithYesSavesItToItsFile) {
    const std::wstring copy = tempPath(L"material_window_close.lib");
    ASSERT_TRUE(CopyFileW(samplePath().c_str(), copy.c_str(), FALSE));
    browser.closeLibraryWindow();
    openLibrary(copy);
    ASSERT_NE(browser.form(), nullptr);
    form = browser.form();
    tree = form->treeView();
    const std::string deleted = materialKey(0, 0);
    selectByKeyboard(deleted);
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDYES); });
        press(VK_DELETE);
    }
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDYES); });
        EXPECT_TRUE(browser.closeLibraryWindow());
        EXPECT_FALSE(answerer.texts.empty()) << "no question asked";
    }
    EXPECT_EQ(browser.form(), nullptr);
    const std::string expected = bytesSavedByTheCores(
        readFile(samplePath()),
        [&](LibraryController& library, LibraryEditor&, testing::ScriptedPrompts& script) {
            library.Tree().Select(deleted);
            script.answers = {MessageAnswer::Yes};
            library.DeleteMaterial();
        });
    EXPECT_TRUE(readFile(copy) == expected);
    DeleteFileW(copy.c_str());
}

TEST_F(LibraryWindowTest, TabGoesThroughTheControlsInTheirOrder) {
    selectByKeyboard(materialKey(0, 0));
    const std::vector<HWND> expected{tree,
                                     form->panel().typeCombo(),
                                     form->panel().unitsCombo(),
                                     form->panel().grid(),
                                     form->categoryField(),
                                     form->nameField(),
                                     form->descriptionField(),
                                     form->resetButton(),
                                     form->clearButton(),
                                     form->filterField()};
    std::vector<HWND> order{tree};
    HWND at = tree;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(form->window(), at, FALSE);
        order.push_back(at);
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(textOf(GetWindow(form->categoryField(), GW_HWNDPREV)), L"Category     :");
    EXPECT_EQ(textOf(GetWindow(form->nameField(), GW_HWNDPREV)), L"Name :");
    EXPECT_EQ(textOf(GetWindow(form->descriptionField(), GW_HWNDPREV)), L"Description :");
    EXPECT_EQ(textOf(form->addButton()), L"&Add New Material");
    EXPECT_EQ(textOf(form->resetButton()), L"&Reset");
    EXPECT_EQ(textOf(form->clearButton()), L"&Clear");
}

TEST_F(LibraryWindowTest, ResetAndClearActOnTheShownMaterial) {
    const std::string key = materialKey(0, 0);
    selectByKeyboard(key);
    focus(form->descriptionField());
    SendMessageW(form->descriptionField(), EM_SETSEL, 0, -1);
    type(L"tempered");
    // "&Reset" stores the fields into the material of that category and name, asking first.
    {
        ModalAnswerer answerer([](HWND box) { win32::press(box, IDYES); });
        SendMessageW(form->resetButton(), BM_CLICK, 0, 0);
        drainMessages(browser.frame());
    }
    EXPECT_EQ(entryOf(key).description, "tempered");

    // "&Clear" takes the material's values back to nothing, and the grid shows it.
    ASSERT_NE(form->panel().CellText({1, kValueColumn}), "");
    SendMessageW(form->clearButton(), BM_CLICK, 0, 0);
    drainMessages(browser.frame());
    for (int row = 1; row <= form->panel().RowCount(); ++row) {
        const std::string value = form->panel().CellText({row, kValueColumn});
        EXPECT_TRUE(value.empty() || value == "0") << "row " << row << ": " << value;
    }
}

TEST_F(LibraryWindowTest, AWorkbookOpensAsALibrary) {
    browser.closeLibraryWindow();
    std::wstring workbook = widen(KT_XLS_FIXTURES) + L"/steel.xls";
    std::replace(workbook.begin(), workbook.end(), L'/', L'\\');
    openLibrary(workbook);
    ASSERT_NE(browser.form(), nullptr) << "the workbook did not open";
    EXPECT_GT(browser.library().Content().entries.size(), 0u);
    EXPECT_EQ(shownTree(browser.form()->treeView()), modelTree(model()));
}

// The unit list's choice is kept in the registry when the library closes, and the next
// library opens in it.
class UnitSettingTest : public LibraryWindowTest {
  protected:
    static HKEY testRoot() {
        static HKEY root = [] {
            HKEY key = nullptr;
            RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KtMaterialWindowTest");
            RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KtMaterialWindowTest", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr);
            return key;
        }();
        return root;
    }
    UnitSettingTest() : LibraryWindowTest(std::make_unique<WindowsRegistryStore>(testRoot())) {}
    ~UnitSettingTest() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KtMaterialWindowTest");
    }
};

TEST_F(UnitSettingTest, TheChosenUnitsAreWrittenToTheRegistryAndReadOnOpening) {
    selectByKeyboard(materialKey(0, 0));
    HWND units = form->panel().unitsCombo();
    constexpr int kMks = 2;
    SendMessageW(units, CB_SETCURSEL, kMks, 0);
    SendMessageW(GetParent(units), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(units), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(units));
    drainMessages(browser.frame());
    ASSERT_TRUE(browser.closeLibraryWindow());

    clsRegistry stored{std::make_unique<WindowsRegistryStore>(testRoot())};
    EXPECT_EQ(stored.GetValue(), kMks);

    openSample();
    ASSERT_NE(browser.form(), nullptr);
    EXPECT_EQ(SendMessageW(browser.form()->panel().unitsCombo(), CB_GETCURSEL, 0, 0), kMks);
    EXPECT_EQ(browser.form()->panel().shownUnitSystem(), "MKS");
}

}  // namespace
}  // namespace material::win32
