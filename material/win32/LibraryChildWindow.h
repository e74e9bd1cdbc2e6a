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
    // `closeRequested` decides a close by the user: true lets the window go.
    LibraryChildWindow(HWND mdiClient, const LibraryTree& tree,
                       std::function<bool()> closeRequested, std::function<void()> destroyed);
    ~LibraryChildWindow() override;
    LibraryChildWindow(const LibraryChildWindow&) = delete;
    LibraryChildWindow& operator=(const LibraryChildWindow&) = delete;

    HWND window() const { return window_; }
    HWND treeView() const { return tree_view_; }

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

    const LibraryTree& tree_;
    std::function<bool()> closeRequested_;
    std::function<void()> destroyed_;
    HWND window_ = nullptr;
    HWND tree_view_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::unordered_map<std::string, HTREEITEM> items_;
    bool unloading_ = false;
};

}  // namespace material::win32
