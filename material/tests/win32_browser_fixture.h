// material.exe's program object over the real library operations under Wine, with the
// sample library opened through the frame's Ctrl+O and the open dialog answered from a
// timer; the tree as lines, and what the toolkit-free operations write for the same steps.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
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

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

inline std::wstring itemText(HWND tree, HTREEITEM item) {
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
inline std::vector<std::wstring> shownTree(HWND tree) {
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
inline std::vector<std::wstring> modelTree(const LibraryTree& tree) {
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

// Steps of the toolkit-free library operations on an open library.
using CoreSteps =
    std::function<void(LibraryController&, LibraryEditor&, testing::ScriptedPrompts&)>;

// What the toolkit-free library operations write for: open the sample, `steps`, save as.
inline std::string bytesSavedByTheCores(const std::string& sampleBytes,
                                        const CoreSteps& steps = {}) {
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
    LibraryEditor editor(library, prompts);
    library.OpenLibrary();
    if (steps) {
        steps(library, editor, prompts);
    }
    library.SaveAs();
    return files.files["saved.lib"];
}

// Handles the messages waiting for this thread, as the program's loop would.
inline void drainMessages(FrameWindow& frame) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!frame.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

class Win32BrowserTest : public ::testing::Test {
  protected:
    // `store`: where the unit setting is kept (a memory store unless a test says otherwise).
    explicit Win32BrowserTest(
        std::unique_ptr<SettingsStore> store = std::make_unique<testing::MemoryStore>())
        : settings(std::move(store)),
          browser(BrowserServices{prompts, PlatformFileSystem(), separator, settings,
                                  PlatformWorkbookReader(), std::make_unique<NoHelp>(),
                                  [this] { ++frameClosed; }}) {
        prompts.setOwner(browser.frame().window());
    }

    static std::wstring samplePath() {
        std::wstring path = widen(KT_SAMPLE_LIBRARY);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }

    static std::wstring tempPath(const wchar_t* name) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + name;
    }

    static std::string readFile(const std::wstring& path) {
        std::string bytes;
        FileError error;
        EXPECT_TRUE(PlatformFileSystem().ReadAll(narrow(path), bytes, error)) << error.Message();
        return bytes;
    }

    void openSample() { openLibrary(samplePath()); }

    void openLibrary(const std::wstring& path) {
        ModalAnswerer answerer([&](HWND dialog) { choose(dialog, path); });
        SendMessageW(browser.frame().window(), WM_COMMAND, ID_FILE_OPEN, 0);
        EXPECT_EQ(answerer.title, L"Open Library File...");
        drainMessages(browser.frame());
    }

    // File > Save As of the library window to `target`.
    void saveAs(const std::wstring& target) {
        DeleteFileW(target.c_str());
        ModalAnswerer answerer([&](HWND dialog) { choose(dialog, target); });
        SendMessageW(browser.frame().window(), WM_COMMAND, ID_LIBRARY_SAVE_AS, 0);
        EXPECT_EQ(answerer.title, L"Save Library File As ...");
    }

    Win32LibraryPrompts prompts;
    testing::FixedSeparator separator;
    clsRegistry settings;
    int frameClosed = 0;
    Win32Browser browser;
};

}  // namespace material::win32
