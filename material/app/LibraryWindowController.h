// What the library window decides, free of any toolkit: what a node click shows, the
// checks made when the category and name fields are left and where the focus returns,
// what follows adding and committing a material, the window's Save, Exit and close,
// and the flags of its unload. A front end's window implements LibraryWindowView and
// forwards its events here; the property grid has a controller of its own.
#pragma once

#include <functional>
#include <string>

#include "app/LibraryEditor.h"

namespace material {

class LibraryController;
class PropertyGridController;

// The library window's controls as the controller drives them. Texts are library texts
// (Windows-1252).
class LibraryWindowView {
  public:
    virtual ~LibraryWindowView() = default;

    // The category, name and description fields.
    virtual void SetPanelTexts(const std::string& category, const std::string& name,
                               const std::string& description) = 0;
    // New-material mode shows "&Add New Material" and hides the grid, "&Reset" and
    // "&Clear"; without it the other way round.
    virtual void ShowNewMaterialMode(bool on) = 0;
    // Gives `field` the focus back once the focus change under way has ended.
    virtual void ReturnFocus(PanelField field) = 0;
    virtual void ShowTree() = 0;
    // Closes the window; its close comes back through closeRequested.
    virtual void CloseWindow() = 0;
    // The frame shows its own menus and library buttons (off) or the window's (on).
    virtual void ShowLibraryInFrame(bool open) = 0;
    // The frame closes, as its own close would (asking about the library first).
    virtual void CloseFrame() = 0;
};

// The controller of the library window (BaseForm).
class LibraryWindowController {
  public:
    LibraryWindowController(LibraryController& library, LibraryEditor& editor, PropertyGridController& grid,
                            LibraryWindowView& view);

    // While true, closing the window asks whether to save the library first.
    bool mbCallSaveOnUnload = true;

    // Called once the window has unloaded.
    void setUnloadedHandler(std::function<void()> handler) { onUnloaded_ = std::move(handler); }

    // ---- Life ----
    // The window was asked to close; false when it stays (the user cancelled).
    bool closeRequested();
    // Closes the window without asking: the library is closed already.
    void unload();
    bool unloaded() const { return unloaded_; }

    // ---- Tree ----
    // A node was clicked (or selected by the library operations).
    void TreeView1_NodeClick(const std::string& key);
    // The tree model selected `key` (null: nothing): the first material a new or opened
    // library selects is shown as if clicked.
    void onSelectionChanged(const std::string* key, bool isCategory);
    // A finished label edit of node `key`.
    void onLabelEdited(const std::string& key, const EncodedText& typed);
    // A dragged node `sourceKey` was dropped on node `targetKey`.
    void onDrop(const std::string& sourceKey, const std::string& targetKey);

    // ---- Fields ----
    // A panel field took the focus (PanelField::None: the description field).
    void fieldEntered(PanelField field);
    // A panel field was left holding `text`.
    void fieldLeft(PanelField field, const std::string& text);
    // Whether a typed text is taken; a refused one is a character the library cannot hold.
    bool fieldEdited(const EncodedText& typed);
    // The description field's text as the selected material's description.
    void storeDescription(const std::string& text);

    // ---- Commands ----
    // "&Add New Material", Edit "&New", "&Reset" (commit) and "&Clear".
    void onNewMaterial(const std::string& category, const std::string& name,
                       const std::string& description);
    void onEditNewMaterial(const std::string& category, const std::string& name,
                           const std::string& description);
    void onMaterialSet(const std::string& category, const std::string& name,
                       const std::string& description);
    void onClearValues();
    void onCopyMaterial();
    void onPasteMaterial();
    // File "&Save": Save As for a library that has no file yet.
    void onSave();
    // File "E&xit": closes the library, then the frame unless the user cancelled.
    void onExit();

    // The panel refresh.
    void typeCombo_Click();
    // With `fromTree` the position of the selected material node (-1 for none or a
    // category), else the current-material index field read as a number.
    int CurrentMaterial(bool fromTree) const;

    bool newMaterialMode() const { return newMaterialMode_; }
    // The position of the material the panel shows, "-1" for a category.
    std::string currentMaterialIndex() const { return std::to_string(currentMaterialIndex_); }
    const std::string& selectedKey() const { return selectedKey_; }

  private:
    void markSelected(const std::string& key);
    void setNewMaterialMode(bool on);
    void returnFocus(PanelField field);
    void showAddOutcome(const AddOutcome& outcome);
    void finishUnload();

    LibraryController& library_;
    LibraryEditor& editor_;
    PropertyGridController& grid_;
    LibraryWindowView& view_;
    std::function<void()> onUnloaded_;
    bool unloading_ = false;
    bool unloaded_ = false;

    std::string selectedKey_;
    bool newMaterialMode_ = false;
    int currentMaterialIndex_ = 0;
};

}  // namespace material
