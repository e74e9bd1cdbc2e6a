// The library window as an MDI child (the text's `BaseForm`, its window class name).
// This first pass shows the library's tree (`TreeView1`) with its images, mirroring the
// LibraryTree model; the panel, its fields and the property grid are still to come.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>

#include "data/library/LibraryTree.h"

namespace material::win32 {

class LibraryChildWindow final : public TreeListener {
  public:
    struct Handlers {
        // Decides a close by the user: true lets the window go.
        std::function<bool()> closeRequested;
        std::function<void()> destroyed;
        // A command of the window's menu or accelerators.
        std::function<void(int)> command;
        // The window became the active one (true) or stopped being it (false).
        std::function<void(bool)> activated;
        // The user expanded (true) or collapsed a category.
        std::function<void(const std::string& key, bool expanded)> expanded;
    };

    LibraryChildWindow(HWND mdiClient, const LibraryTree& tree, Handlers handlers);
    ~LibraryChildWindow() override;
    LibraryChildWindow(const LibraryChildWindow&) = delete;
    LibraryChildWindow& operator=(const LibraryChildWindow&) = delete;

    HWND window() const { return window_; }
    HWND treeView() const { return tree_view_; }
    // The window's own menu and accelerators, which replace the frame's while it is active.
    HMENU menu() const { return menu_; }
    HACCEL accelerators() const { return accelerators_; }

    void setCaption(const std::wstring& caption);
    void showTree();
    // Closes the window without asking.
    void unload();

    // TreeListener
    void TreeRebuilt() override;
    void NodeAdded(const LibraryNode& node) override;
    void NodeRemoved(const std::string& key) override;
    void NodeChanged(const LibraryNode& node) override;
    void SelectionChanged(const LibraryNode* node) override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createTree();
    void insertNode(const LibraryNode& node);
    void updateItem(HTREEITEM item, const LibraryNode& node);
    int imageIndex(const std::string& image) const;
    LRESULT onTreeNotify(const NMHDR& header);
    const std::string* keyOf(HTREEITEM item) const;

    const LibraryTree& tree_;
    Handlers handlers_;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND window_ = nullptr;
    HWND tree_view_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::unordered_map<std::string, HTREEITEM> items_;
    bool unloading_ = false;
    bool mirroring_ = false;  // the model's own change is being shown, not a user's
};

}  // namespace material::win32
