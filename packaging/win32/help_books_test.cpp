// The compiled help books in Windows' own help viewer, under Wine: each book opens in a
// viewer window titled as its project says, whose contents tree lists the book's table
// of contents, and each of its pages can be asked for by name. What a book holds is read
// from its staged project, so that a page added to a book is checked without touching
// this test. (The files inside each book are compared with its project natively, by the
// packaging checks.)
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <htmlhelp.h>
#include <objbase.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "help_books.h"

namespace {}  // namespace

void PrintTo(const HelpBook& book, std::ostream* out) {
    *out << book.name;
}

namespace {

std::wstring widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length : 0);
    return wide;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A help project's [OPTIONS].
struct Project {
    std::string compiledFile;
    std::string contentsFile;
    std::string title;
};

Project readProject(const std::string& path) {
    Project project;
    std::istringstream lines(readText(path));
    std::string line;
    bool inOptions = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            inOptions = line == "[OPTIONS]";
            continue;
        }
        if (!inOptions) {
            continue;
        }
        const auto equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key == "Compiled file") {
            project.compiledFile = value;
        } else if (key == "Contents file") {
            project.contentsFile = value;
        } else if (key == "Title") {
            project.title = value;
        }
    }
    return project;
}

// The value of every <param name="<name>" value="..."> in a contents file, in order.
std::vector<std::string> paramValues(const std::string& contents, const std::string& name) {
    std::vector<std::string> values;
    const std::string opening = "<param name=\"" + name + "\" value=\"";
    for (auto at = contents.find(opening); at != std::string::npos;
         at = contents.find(opening, at)) {
        at += opening.size();
        const auto end = contents.find('"', at);
        values.push_back(contents.substr(at, end - at));
    }
    return values;
}

// The texts of a tree view's items, depth first, as they stand in the tree.
void collectItems(HWND tree, HTREEITEM item, std::vector<std::string>& texts) {
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[256] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = 256;
        TreeView_GetItem(tree, &data);
        std::string narrow;
        for (const wchar_t* c = text; *c != L'\0'; ++c) {
            narrow.push_back(static_cast<char>(*c));
        }
        texts.push_back(narrow);
        collectItems(tree, TreeView_GetChild(tree, item), texts);
    }
}

HWND findChild(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* name;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (lstrcmpW(name, s->name) == 0) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

class HelpBooksTest : public ::testing::TestWithParam<HelpBook> {
  protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        viewer_ = LoadLibraryW(L"hhctrl.ocx");
        ASSERT_NE(viewer_, nullptr);
        // Through void*: a FARPROC is not meant to be called as it is.
        htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(GetProcAddress(viewer_, "HtmlHelpW")));
        ASSERT_NE(htmlHelp_, nullptr);
    }
    static void TearDownTestSuite() {
        htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
        CoUninitialize();
    }

    void SetUp() override {
        project_ = readProject(GetParam().stage + "/" + GetParam().project);
        ASSERT_FALSE(project_.compiledFile.empty()) << GetParam().project;
        chm_ = widen(GetParam().binFolder + "/" + project_.compiledFile);
    }

    static HWND show(const std::wstring& what) {
        return htmlHelp_(nullptr, what.c_str(), HH_DISPLAY_TOPIC, 0);
    }

    // Closed as a user closes it, so that the viewer forgets the window too: a window
    // destroyed behind its back is handed out again by the next request.
    static void close(HWND window) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(window));
    }

    static inline HMODULE viewer_ = nullptr;
    static inline HtmlHelpFunction htmlHelp_ = nullptr;
    Project project_;
    std::wstring chm_;
};

TEST_P(HelpBooksTest, ViewerShowsTheBookWithItsTitleAndContents) {
    HWND window = show(chm_);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(className(window), L"HH Parent");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(windowText(window), widen(project_.title));

    HWND tree = findChild(window, WC_TREEVIEWW);
    ASSERT_NE(tree, nullptr);
    std::vector<std::string> shown;
    collectItems(tree, TreeView_GetRoot(tree), shown);
    const std::string contents = readText(GetParam().stage + "/" + project_.contentsFile);
    const std::vector<std::string> names = paramValues(contents, "Name");
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(shown, names);

    close(window);
}

TEST_P(HelpBooksTest, ViewerOpensEachContentsPageByName) {
    const std::string contents = readText(GetParam().stage + "/" + project_.contentsFile);
    for (const std::string& page : paramValues(contents, "Local")) {
        SCOPED_TRACE(page);
        HWND window = show(chm_ + L"::/" + widen(page));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(className(window), L"HH Parent");
        close(window);
    }
}

TEST_P(HelpBooksTest, AMissingBookOpensNoWindow) {
    const std::wstring missing = chm_ + L".missing.chm";
    EXPECT_EQ(show(missing), nullptr);
    EXPECT_EQ(FindWindowW(L"HH Parent", nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Books, HelpBooksTest, ::testing::ValuesIn(kHelpBooks),
                         [](const ::testing::TestParamInfo<HelpBook>& info) {
                             return info.param.name;
                         });

}  // namespace
