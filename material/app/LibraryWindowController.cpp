#include "app/LibraryWindowController.h"

#include "app/PropertyGridController.h"
#include "data/library/LibraryController.h"
#include "units/UnitSystems.h"

namespace material {

LibraryWindowController::LibraryWindowController(LibraryController& library, LibraryEditor& editor,
                                                 PropertyGridController& grid,
                                                 LibraryWindowView& view)
    : library_(library), editor_(editor), grid_(grid), view_(view) {}

// ---- Life ----------------------------------------------------------------------------------

bool LibraryWindowController::closeRequested() {
    if (unloaded_) {
        return true;
    }
    if (mbCallSaveOnUnload) {
        unloading_ = true;
        const bool cancelled = library_.CloseLibrary();
        unloading_ = false;
        if (cancelled) {
            return false;  // the window, the library and a closing frame all stay
        }
    }
    finishUnload();
    return true;
}

void LibraryWindowController::unload() {
    mbCallSaveOnUnload = false;
    if (unloading_ || unloaded_) {
        return;  // the close in progress finishes the unload
    }
    view_.CloseWindow();
    finishUnload();
}

void LibraryWindowController::finishUnload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    library_.Tree().SetListener(nullptr);
    view_.ShowLibraryInFrame(false);
    if (onUnloaded_) {
        onUnloaded_();
    }
}

// ---- Tree ----------------------------------------------------------------------------------

void LibraryWindowController::markSelected(const std::string& key) {
    if (!selectedKey_.empty() && editor_.PositionOf(selectedKey_) >= 0) {
        library_.Tree().SetImage(selectedKey_, std::string(kImageLeaf));
    }
    selectedKey_ = key;
    if (editor_.PositionOf(key) >= 0) {
        library_.Tree().SetImage(key, std::string(kImageSelectedLeaf));
    }
}

void LibraryWindowController::TreeView1_NodeClick(const std::string& key) {
    // The selection has moved on already: an edit still open belongs to the material
    // left and is dropped (leaving the grid for the tree stored it).
    grid_.dropGridEdit();
    if (library_.Tree().Find(key) == nullptr) {
        return;
    }
    markSelected(key);
    const int position = editor_.PositionOf(key);
    if (position < 0) {
        view_.SetPanelTexts(key, {}, {});
        setNewMaterialMode(true);
    } else {
        setNewMaterialMode(false);
        const MaterialEntry& entry = library_.Content().entries[static_cast<std::size_t>(position)];
        view_.SetPanelTexts(entry.categoryKey, entry.nameText, entry.description);
    }
    grid_.rebuildGrid();
    currentMaterialIndex_ = CurrentMaterial(true);
}

void LibraryWindowController::onSelectionChanged(const std::string* key, bool isCategory) {
    if (key != nullptr && selectedKey_.empty() && !isCategory) {
        TreeView1_NodeClick(*key);
    }
}

void LibraryWindowController::onLabelEdited(const std::string& key, const EncodedText& typed) {
    if (!editor_.TextAccepted(typed)) {
        return;
    }
    editor_.Rename(key, typed.bytes);
    // Refreshes the panel: a renamed material shows its new name in the name field.
    if (key == selectedKey_ && editor_.PositionOf(key) >= 0) {
        TreeView1_NodeClick(key);
    }
    typeCombo_Click();
}

void LibraryWindowController::onDrop(const std::string& sourceKey, const std::string& targetKey) {
    editor_.DropMaterial(sourceKey, targetKey);
}

int LibraryWindowController::CurrentMaterial(bool fromTree) const {
    if (fromTree) {
        return library_.SelectedMaterialPosition();
    }
    return currentMaterialIndex_;
}

void LibraryWindowController::typeCombo_Click() {
    grid_.typeCombo_Click();
}

void LibraryWindowController::setNewMaterialMode(bool on) {
    newMaterialMode_ = on;
    view_.ShowNewMaterialMode(on);
}

// ---- Fields --------------------------------------------------------------------------------

void LibraryWindowController::fieldEntered(PanelField field) {
    // Entering the category or name field starts a new material.
    if (field != PanelField::None) {
        setNewMaterialMode(true);
    }
}

void LibraryWindowController::fieldLeft(PanelField field, const std::string& text) {
    switch (field) {
        case PanelField::Name:
            if (!editor_.NameFieldAccepted(text)) {
                returnFocus(field);
            }
            return;
        case PanelField::Category:
            if (!editor_.CategoryFieldAccepted(text)) {
                returnFocus(field);
            }
            return;
        case PanelField::None:
            storeDescription(text);
            library_.SealChange();  // typing the description again is another change
            return;
    }
}

bool LibraryWindowController::fieldEdited(const EncodedText& typed) {
    return editor_.TextAccepted(typed);
}

void LibraryWindowController::storeDescription(const std::string& text) {
    // In new-material mode the fields describe the material about to be added; the
    // selected one keeps its own description.
    if (!newMaterialMode_) {
        editor_.StoreDescription(selectedKey_, text);
    }
}

void LibraryWindowController::returnFocus(PanelField field) {
    if (field != PanelField::None) {
        view_.ReturnFocus(field);
    }
}

// ---- Commands ------------------------------------------------------------------------------

void LibraryWindowController::showAddOutcome(const AddOutcome& outcome) {
    returnFocus(outcome.focus);
    if (outcome.clearFields) {
        view_.SetPanelTexts({}, {}, {});
    }
    if (outcome.added) {
        markSelected(outcome.key);
        setNewMaterialMode(false);
        currentMaterialIndex_ = editor_.PositionOf(outcome.key);
        grid_.rebuildGrid();  // the new material has no values yet
    }
}

void LibraryWindowController::onNewMaterial(const std::string& category, const std::string& name,
                                            const std::string& description) {
    showAddOutcome(editor_.AddNewMaterial(category, name, description));
}

void LibraryWindowController::onEditNewMaterial(const std::string& category,
                                                const std::string& name,
                                                const std::string& description) {
    showAddOutcome(editor_.EditNew(category, name, description));
}

void LibraryWindowController::onMaterialSet(const std::string& category, const std::string& name,
                                            const std::string& description) {
    const CommitOutcome outcome = editor_.CommitPanel(category, name, description);
    returnFocus(outcome.focus);
    if (!outcome.stored) {
        return;
    }
    if (!outcome.addedKey.empty()) {
        markSelected(outcome.addedKey);
        setNewMaterialMode(false);
        currentMaterialIndex_ = editor_.PositionOf(outcome.addedKey);
        view_.ShowTree();
    }
    grid_.SystemUnits(std::string(kSi));
    typeCombo_Click();
}

void LibraryWindowController::onClearValues() {
    // Reset material refuses an empty tree and a category; it shows the material again.
    library_.ResetMaterial();
}

void LibraryWindowController::onCopyMaterial() {
    editor_.CopyMaterial();
}

void LibraryWindowController::onPasteMaterial() {
    const std::string key = editor_.PasteMaterial();
    if (!key.empty()) {
        TreeView1_NodeClick(key);
    }
}

void LibraryWindowController::onSave() {
    if (library_.FileName().empty()) {
        library_.SaveAs();
    } else {
        library_.Save();
    }
}

void LibraryWindowController::onExit() {
    if (!library_.CloseLibrary()) {
        view_.CloseFrame();
    }
}

}  // namespace material
