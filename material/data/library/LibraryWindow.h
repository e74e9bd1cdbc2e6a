#pragma once
// What the library operations ask of the one library window: its life and caption, the
// panel fields, the model-type and unit lists and the property grid. The window shows
// the tree by mirroring the LibraryTree model; nothing here knows its toolkit.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "units/PanelTables.h"

namespace material {

class LibraryWindow {
  public:
    virtual ~LibraryWindow() = default;

    // Creates the window when it is not shown, then shows it with `caption`.
    virtual void Show(const std::string& caption) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // Unloads the window without asking about saving (the library is closed already).
    // Also called while the window closes at the user's request: its close handler runs
    // LibraryController::CloseLibrary, which ends here unless the user cancelled.
    virtual void Close() = 0;
    // Shows the tree once it has been filled (a loading window keeps it hidden).
    virtual void ShowTree() = 0;

    // The image list of the tree.
    virtual void LoadTreeImage(std::string_view key, std::string_view resource) = 0;
    virtual void ClearTreeImages() = 0;

    // The panel's category, name and description boxes.
    virtual void SetPanelTexts(const std::string& category, const std::string& name,
                               const std::string& description) = 0;
    virtual void ShowValuePanel(bool shown) = 0;
    // Hides "&Add New Material", "&Reset" and "&Clear".
    virtual void HidePanelCommands() = 0;
    virtual void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                                    const std::array<double, kPanelFactorCount>& siPerIps,
                                    const std::array<double, kPanelFactorCount>& mksPerIps) = 0;

    virtual void FillUnitList(const std::vector<std::string>& texts) = 0;
    virtual void FillTypeList(const std::vector<std::string>& texts) = 0;
    virtual int UnitListPosition() const = 0;
    virtual int TypeListPosition() const = 0;
    // Selecting a position converts the shown values to that system.
    virtual void SelectUnitListPosition(int position) = 0;
    // The unit system the panel shows: "IPS", "SI" or "MKS".
    virtual std::string ShownUnitSystem() const = 0;

    // Shows the values again in the shown unit system.
    virtual void RefreshUnitDisplay() = 0;
    // Ends an edit in progress in the grid (its lost-focus handling).
    virtual void EndGridEdit() = 0;
    // Shows the selected material again through the type-list handler.
    virtual void ShowMaterialAgain() = 0;
    // Handles a click on the node with `key` (fields, buttons, grid), as a user's click.
    virtual void NodeClick(const std::string& key) = 0;
    // The library changed or was saved: the caption's modified mark and the undo and
    // redo commands follow.
    virtual void ShowEditState(bool modified, bool canUndo, bool canRedo) = 0;
};

}  // namespace material
