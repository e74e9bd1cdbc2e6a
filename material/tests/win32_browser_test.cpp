// material.exe's frame and library window over the real library operations under Wine:
// a library opened through the frame's Ctrl+O, its open dialog answered from a timer.
#include "win32_browser_fixture.h"

namespace material::win32 {
namespace {

TEST_F(Win32BrowserTest, OpeningTheSampleLibraryShowsItsTree) {
    openSample();
    ASSERT_NE(browser.form(), nullptr);
    const std::vector<std::wstring> shown = shownTree(browser.form()->treeView());
    EXPECT_EQ(shown, modelTree(browser.library().Tree()));
    EXPECT_GT(shown.size(), 10u);
    EXPECT_TRUE(GetWindowLongPtrW(browser.form()->treeView(), GWL_STYLE) & WS_VISIBLE);

    wchar_t className[32] = {};
    GetClassNameW(browser.form()->window(), className, 32);
    EXPECT_STREQ(className, L"BaseForm");
    EXPECT_NE(SendMessageW(browser.frame().toolbar(), TB_ISBUTTONENABLED, ID_TOOLBAR_SAVE, 0), 0);
}

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

// The pop-up of the menu bar titled `title` (a maximized MDI child adds its own items).
HMENU subMenuTitled(HMENU bar, const std::wstring& title) {
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        if (menuText(bar, i) == title) {
            return GetSubMenu(bar, i);
        }
    }
    return nullptr;
}

std::vector<std::wstring> menuTexts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        texts.push_back(menuText(menu, i));
    }
    return texts;
}

TEST_F(Win32BrowserTest, TheWindowsMenuReplacesTheFramesWhileItIsOpen) {
    openSample();
    HMENU bar = GetMenu(browser.frame().window());
    // An MDI frame puts a maximized child's system menu and buttons into the bar too.
    std::vector<std::wstring> titles;
    for (const std::wstring& text : menuTexts(bar)) {
        if (!text.empty()) {
            titles.push_back(text);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"&File", L"&Edit", L"&View", L"&Help"}));
    HMENU windowMenu = browser.form()->menu();
    EXPECT_EQ(menuTexts(subMenuTitled(windowMenu, L"&File")),
              (std::vector<std::wstring>{L"&New", L"&Open...\tCtrl+O", L"&Close", L"",
                                         L"&Save\tCtrl+S", L"Save &As...\tCtrl+A", L"", L"E&xit"}));
    EXPECT_EQ(
        menuTexts(subMenuTitled(windowMenu, L"&Edit")),
        (std::vector<std::wstring>{L"&New", L"&Clear", L"&Reset", L"&Delete ", L"&Copy\tCtrl+C",
                                   L"&Paste\tCtrl+V", L"", L"&Undo\tCtrl+Z", L"R&edo\tCtrl+Y"}));
    EXPECT_EQ(menuTexts(subMenuTitled(windowMenu, L"&View")),
              (std::vector<std::wstring>{L"&Toolbar", L"&Statusbar"}));
    EXPECT_EQ(browser.frame().accelerators(), browser.form()->accelerators());

    // View > Toolbar: the tick follows the bar.
    SendMessageW(browser.frame().window(), WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_FALSE(GetMenuState(windowMenu, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageW(browser.frame().window(), WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_TRUE(GetMenuState(windowMenu, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);

    SendMessageW(browser.frame().window(), WM_COMMAND, ID_LIBRARY_CLOSE, 0);
    EXPECT_EQ(browser.form(), nullptr);
    EXPECT_EQ(menuTexts(GetMenu(browser.frame().window())),
              (std::vector<std::wstring>{L"&File", L"&Help"}));
}

int itemImage(HWND tree, HTREEITEM item) {
    TVITEMW request{};
    request.hItem = item;
    request.mask = TVIF_IMAGE;
    TreeView_GetItem(tree, &request);
    return request.iImage;
}

// What the tree view reports when the user opens or closes a category.
void userExpands(HWND tree, HTREEITEM item, bool expanded) {
    NMTREEVIEWW change{};
    change.hdr.hwndFrom = tree;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tree));
    change.hdr.code = TVN_ITEMEXPANDEDW;
    change.action = expanded ? TVE_EXPAND : TVE_COLLAPSE;
    change.itemNew.hItem = item;
    SendMessageW(GetParent(tree), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

TEST_F(Win32BrowserTest, OpeningACategoryShowsTheOpenBook) {
    openSample();
    HWND tree = browser.form()->treeView();
    HTREEITEM category = TreeView_GetRoot(tree);
    const std::string key = browser.library().Tree().Roots().front();
    constexpr int kOpenBook = 0;  // image list order: open book, closed book, leaf, leaf1
    constexpr int kClosedBook = 1;

    userExpands(tree, category, false);
    EXPECT_FALSE(browser.library().Tree().Find(key)->expanded);
    EXPECT_EQ(itemImage(tree, category), kClosedBook);
    userExpands(tree, category, true);
    EXPECT_TRUE(browser.library().Tree().Find(key)->expanded);
    EXPECT_EQ(itemImage(tree, category), kOpenBook);
}

TEST_F(Win32BrowserTest, ClosingAnUnchangedLibraryClosesItsWindow) {
    openSample();
    ASSERT_NE(browser.form(), nullptr);
    EXPECT_TRUE(browser.closeLibraryWindow());
    EXPECT_EQ(browser.form(), nullptr);
    EXPECT_EQ(SendMessageW(browser.frame().toolbar(), TB_ISBUTTONENABLED, ID_TOOLBAR_SAVE, 0), 0);
}

// Deletes the first material of the sample through the toolbar, answering Yes.
void deleteFirstMaterial(Win32Browser& browser) {
    LibraryTree& tree = browser.library().Tree();
    const LibraryNode* category = tree.Find(tree.Roots().front());
    ASSERT_FALSE(category->children.empty());
    tree.Select(category->children.front());
    ModalAnswerer answerer([](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    SendMessageW(browser.frame().window(), WM_COMMAND, ID_TOOLBAR_DELETE,
                 reinterpret_cast<LPARAM>(browser.frame().toolbar()));
    EXPECT_NE(answerer.texts.find(L"Are you sure, you want to delete"), std::wstring::npos);
}

TEST_F(Win32BrowserTest, ClosingAChangedLibraryAsksAboutSaving) {
    openSample();
    const size_t linesBefore = shownTree(browser.form()->treeView()).size();
    deleteFirstMaterial(browser);
    const std::vector<std::wstring> shown = shownTree(browser.form()->treeView());
    EXPECT_EQ(shown, modelTree(browser.library().Tree()));
    EXPECT_EQ(shown.size(), linesBefore - 1);
    wchar_t caption[512] = {};
    GetWindowTextW(browser.form()->window(), caption, 512);
    EXPECT_EQ(std::wstring(caption).back(), L'*') << caption;
    EXPECT_TRUE(GetMenuState(browser.form()->menu(), ID_EDIT_UNDO, MF_BYCOMMAND) == MF_ENABLED);
    {
        ModalAnswerer answerer([](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_FALSE(browser.closeLibraryWindow());
        EXPECT_FALSE(answerer.texts.empty()) << "no question asked";
        EXPECT_NE(browser.form(), nullptr);
        EXPECT_TRUE(browser.library().IsOpen());
    }
    {
        ModalAnswerer answerer([](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
        EXPECT_TRUE(browser.closeLibraryWindow());
        EXPECT_EQ(browser.form(), nullptr);
        EXPECT_FALSE(browser.library().IsOpen());
    }
}

TEST_F(Win32BrowserTest, SaveAsWritesWhatTheLinuxProgramWrites) {
    openSample();
    const std::wstring target = tempPath(L"material_browser_saved.lib");
    saveAs(target);  // as Alt+F, A reaches it
    const std::string expected = bytesSavedByTheCores(readFile(samplePath()));
    ASSERT_FALSE(expected.empty());
    const std::string saved = readFile(target);
    EXPECT_TRUE(saved == expected)
        << "saved " << saved.size() << " bytes, expected " << expected.size();
    DeleteFileW(target.c_str());
}

}  // namespace
}  // namespace material::win32
