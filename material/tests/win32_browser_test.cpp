// material.exe's frame and library window over the real library operations under Wine:
// a library opened through the frame's Ctrl+O, its open dialog answered from a timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WideText.h"
#include "Win32Browser.h"
#include "Win32LibraryPrompts.h"
#include "data/Cp1252.h"
#include "data/DecimalSeparator.h"
#include "data/LibraryFileSystem.h"
#include "library_fakes.h"
#include "resource.h"
#include "units/registry/clsRegistry.h"
#include "win32_modal.h"

namespace material::win32 {
namespace {

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

std::wstring itemText(HWND tree, HTREEITEM item) {
    wchar_t text[256] = {};
    TVITEMW request{};
    request.hItem = item;
    request.mask = TVIF_TEXT;
    request.pszText = text;
    request.cchTextMax = 256;
    TreeView_GetItem(tree, &request);
    return text;
}

// The tree view's items, a category as "text" and a material as "  text".
std::vector<std::wstring> shownTree(HWND tree) {
    std::vector<std::wstring> lines;
    for (HTREEITEM category = TreeView_GetRoot(tree); category != nullptr;
         category = TreeView_GetNextSibling(tree, category)) {
        lines.push_back(itemText(tree, category));
        for (HTREEITEM material = TreeView_GetChild(tree, category); material != nullptr;
             material = TreeView_GetNextSibling(tree, material)) {
            lines.push_back(L"  " + itemText(tree, material));
        }
    }
    return lines;
}

// The same lines from the library's tree model.
std::vector<std::wstring> modelTree(const LibraryTree& tree) {
    std::vector<std::wstring> lines;
    for (const std::string& key : tree.Roots()) {
        const LibraryNode* category = tree.Find(key);
        lines.push_back(widen(DecodeLibraryText(category->text)));
        for (const std::string& child : category->children) {
            lines.push_back(L"  " + widen(DecodeLibraryText(tree.Find(child)->text)));
        }
    }
    return lines;
}

void choose(HWND dialog, const std::wstring& path) {
    SetDlgItemTextW(dialog, 0x47c, path.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// What the toolkit-free library operations write for: open the sample, save it as `path`.
std::string bytesSavedByTheCores(const std::string& sampleBytes) {
    testing::ScriptedPrompts prompts;
    testing::FakeWindow window;
    testing::MemoryFiles files;
    testing::FixedSeparator separator;
    clsRegistry settings{std::make_unique<testing::MemoryStore>()};
    files.files["sample.lib"] = sampleBytes;
    prompts.openChoices.push_back("sample.lib");
    prompts.saveChoices.push_back("saved.lib");
    LibraryController library{{prompts, window, files, separator, settings,
                               [](const std::string&) { return SheetImport{}; }}};
    library.OpenLibrary();
    library.SaveAs();
    return files.files["saved.lib"];
}

class Win32BrowserTest : public ::testing::Test {
  protected:
    Win32BrowserTest()
        : browser(BrowserServices{prompts, PlatformFileSystem(), separator, settings,
                                  PlatformWorkbookReader(), std::make_unique<NoHelp>(),
                                  [this] { ++frameClosed; }}) {
        prompts.setOwner(browser.frame().window());
    }

    static std::wstring samplePath() {
        std::wstring path = widen(KT_SAMPLE_LIBRARY);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }

    void openSample() {
        ModalAnswerer answerer([&](HWND dialog) { choose(dialog, samplePath()); });
        SendMessageW(browser.frame().window(), WM_COMMAND, ID_FILE_OPEN, 0);
        EXPECT_EQ(answerer.title, L"Open Library File...");
    }

    Win32LibraryPrompts prompts;
    testing::FixedSeparator separator;
    clsRegistry settings{std::make_unique<testing::MemoryStore>()};
    int frameClosed = 0;
    Win32Browser browser;
};

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
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring target = std::wstring(folder) + L"material_browser_saved.lib";
    DeleteFileW(target.c_str());
    {
        // File > Save As of the library window, as Alt+F, A reaches it.
        ModalAnswerer answerer([&](HWND dialog) { choose(dialog, target); });
        SendMessageW(browser.frame().window(), WM_COMMAND, ID_LIBRARY_SAVE_AS, 0);
        EXPECT_EQ(answerer.title, L"Save Library File As ...");
    }
    std::string sample;
    std::string saved;
    FileError error;
    ASSERT_TRUE(PlatformFileSystem().ReadAll(narrow(samplePath()), sample, error));
    ASSERT_TRUE(PlatformFileSystem().ReadAll(narrow(target), saved, error)) << error.Message();
    const std::string expected = bytesSavedByTheCores(sample);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(saved == expected)
        << "saved " << saved.size() << " bytes, expected " << expected.size();
    DeleteFileW(target.c_str());
}

}  // namespace
}  // namespace material::win32
