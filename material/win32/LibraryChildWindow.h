// The library window as an MDI child (the text's `BaseForm`, its window class name): on
// the left the filter field and the tree of categories and materials (`TreeView1`), on
// the right the category, name and description fields, the property panel and the
// panel's commands. Its menu and accelerators replace the frame's while it is active.
// What a click, a field left or a command does is decided by LibraryWindowController;
// the tree mirrors the LibraryTree model.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "PropertyPanelWindow.h"
#include "app/LibraryWindowController.h"
#include "data/library/LibraryTree.h"

namespace material {
class LibraryController;
class LibraryEditor;
class MaterialFilter;
}  // namespace material

namespace material::win32 {

class LibraryChildWindow final : public TreeListener, private LibraryWindowView {
  public:
    struct Handlers {
        // The window is gone (closed by the user or unloaded).
        std::function<void()> destroyed;
        // A command of the window's menu the frame carries out (View, Help).
        std::function<void(int)> frameCommand;
        // The window became the active one (true) or stopped being it (false).
        std::function<void(bool)> activated;
        // The frame shows the window's menus and library buttons (true) or its own.
        std::function<void(bool)> showLibraryInFrame;
        // The frame closes, as its own close would.
        std::function<void()> closeFrame;
    };

    LibraryChildWindow(HWND mdiClient, LibraryController& library, LibraryEditor& editor,
                       Handlers handlers);
    ~LibraryChildWindow() override;
    LibraryChildWindow(const LibraryChildWindow&) = delete;
    LibraryChildWindow& operator=(const LibraryChildWindow&) = delete;

    LibraryWindowController& controller() { return *controller_; }
    PropertyPanelWindow& panel() { return *panel_; }

    HWND window() const { return window_; }
    HWND treeView() const { return treeView_; }
    HWND categoryField() const { return categoryField_; }
    HWND nameField() const { return nameField_; }
    HWND descriptionField() const { return descriptionField_; }
    HWND filterField() const { return filterField_; }
    HWND addButton() const { return addButton_; }
    HWND resetButton() const { return resetButton_; }
    HWND clearButton() const { return clearButton_; }
    // The window's own menu and accelerators, which replace the frame's while it is active.
    HMENU menu() const { return menu_; }
    HACCEL accelerators() const { return accelerators_; }

    void setCaption(const std::wstring& caption);
    // Shows the tree and gives it the focus: a library shown starts in its tree.
    void showTree();
    // Closes the window without asking: the library is closed already.
    void unload();
    // Carries out a command of the window's menu, accelerators or context menu.
    void onCommand(int id);

    // ---- What the library operations ask of the window ----
    void showValuePanel(bool shown);
    void hidePanelCommands();

    // ---- Filter ----
    // The tree shows what the filter field's text lets through.
    void applyFilter();
    // Ctrl+F: the focus goes to the filter field, its text selected.
    void focusFilter();

    // ---- TreeListener ----
    void TreeRebuilt() override;
    void NodeAdded(const LibraryNode& node) override;
    void NodeRemoved(const std::string& key) override;
    void NodeChanged(const LibraryNode& node) override;
    void SelectionChanged(const LibraryNode* node) override;

    // ---- LibraryWindowView ----
    void SetPanelTexts(const std::string& category, const std::string& name,
                       const std::string& description) override;

  private:
    void ShowNewMaterialMode(bool on) override;
    void ReturnFocus(PanelField field) override;
    void ShowTree() override;
    void CloseWindow() override;
    void ShowLibraryInFrame(bool open) override;
    void CloseFrame() override;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND createField(const wchar_t* caption, int id);
    HWND createButton(const wchar_t* caption, int id);
    void layout();
    // Measures the texts the layout depends on, at the window's DPI.
    void measure();
    void onDestroyed();

    // ---- Tree ----
    void createTree();
    void insertNode(const LibraryNode& node);
    void updateItem(HTREEITEM item, const LibraryNode& node);
    void fillTree();
    void fillCategory(const LibraryNode& category, const MaterialFilter& filter);
    void refilter();
    LRESULT onTreeNotify(const NMHDR& header);
    void onSelectionChangedByUser(const NMTREEVIEWW& change);
    void onTreeClicked();
    void showContextMenu(POINT at);
    const std::string* keyOf(HTREEITEM item) const;
    HTREEITEM itemAt(POINT screenPoint) const;

    // ---- Drag and drop ----
    void beginDrag(const NMTREEVIEWW& change);
    void dragOver(POINT screenPoint);
    void endDrag(bool dropped, POINT screenPoint);

    // ---- Fields ----
    void onFieldCommand(HWND field, int code);
    PanelField fieldRole(HWND field) const;
    void fieldEdited(HWND field);
    void fieldLeft(HWND field);
    bool focusStaysInWindow() const;
    void setFieldText(HWND field, const std::string& libraryText);
    std::string fieldText(HWND field) const;

    LibraryController& library_;
    LibraryEditor& editor_;
    Handlers handlers_;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;
    HWND window_ = nullptr;
    HWND treeView_ = nullptr;
    HWND filterField_ = nullptr;
    HWND categoryField_ = nullptr;
    HWND nameField_ = nullptr;
    HWND descriptionField_ = nullptr;
    HWND addButton_ = nullptr;
    HWND resetButton_ = nullptr;
    HWND clearButton_ = nullptr;
    HWND lastFocus_ = nullptr;  // given back when the window is activated again
    HIMAGELIST images_ = nullptr;
    struct Metrics {
        int dpi = 0;
        int lineHeight = 0;
        int labelWidth = 0;
        int narrowButton = 0;
        int wideButton = 0;
    } metrics_;
    std::unique_ptr<PropertyPanelWindow> panel_;
    std::unique_ptr<LibraryWindowController> controller_;

    std::unordered_map<std::string, HTREEITEM> items_;
    std::unordered_map<HWND, std::wstring> keptTexts_;  // each field's last text the library holds
    std::string dragSource_;
    // A finished label edit, handled once the tree's editor has gone.
    std::string renamedKey_;
    std::wstring renamedText_;
    bool dragging_ = false;
    bool unloading_ = false;
    bool mirroring_ = false;     // the model's own change is being shown, not a user's
    bool settingText_ = false;   // a field's text is being set, not typed
    bool refocusing_ = false;    // a refused field is taking the focus back
    bool justSelected_ = false;  // the click under way selected its node
};

}  // namespace material::win32
