// What the property panel decides, free of any toolkit: the model-type and unit
// positions, the unit system shown, the unit captions of the grid, and the editing of
// value cells (when an entry begins, what leaving its cell does with the text, what is
// stored). A front end's panel implements PropertyGridView and forwards its events here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/GridLayout.h"
#include "data/library/LibraryPrompts.h"
#include "units/PanelTables.h"

namespace material {

class LibraryController;

// A cell of the grid in grid numbering: data rows from 1, columns 0-3.
struct GridCell {
    int row = 0;
    int column = 0;
};

// The panel's controls as the controller drives them. Texts are library texts
// (Windows-1252). Nothing here reports back an event: the view forwards those itself.
class PropertyGridView {
  public:
    virtual ~PropertyGridView() = default;

    // Fills the type list and selects `selected` (-1: none) without reporting a choice.
    virtual void FillTypeList(const std::vector<std::string>& texts, int selected) = 0;
    // Fills the unit list and selects `selected` (-1: none) without reporting a choice.
    virtual void FillUnitList(const std::vector<std::string>& texts, int selected) = 0;
    // Selects a unit-list position without reporting a choice.
    virtual void SelectUnitPosition(int position) = 0;

    // Builds the grid again for `modelType` with `captions` (U0-U11); the values come
    // from the controller as FlexGridHost. Cell moves while it runs are no user's.
    virtual void RebuildGrid(const FlexGridHost& host, int modelType,
                             const UnitCaptions& captions) = 0;
    // Data rows of the grid.
    virtual int RowCount() const = 0;
    virtual std::string CellText(GridCell cell) const = 0;
    virtual void SetCellText(GridCell cell, const std::string& text) = 0;
    // Sizes the columns to their contents.
    virtual void FitColumns() = 0;
    virtual std::optional<GridCell> CurrentCell() const = 0;
    // Moves the current cell; the view reports the move as any other.
    virtual void SetCurrentCell(GridCell cell) = 0;
    // Opens the cell editor on the value cell of `row`.
    virtual void StartEditing(int row) = 0;
    // Hands the text of an open cell editor to its cell and closes the editor.
    virtual void CommitOpenEditor() = 0;
    // Closes an open cell editor without keeping what it holds.
    virtual void DropOpenEditor() = 0;
};

// The controller of the property grid (clsFlexGrid) and its panel.
class PropertyGridController : public FlexGridHost {
  public:
    PropertyGridController(LibraryController& library, LibraryPrompts& prompts, PropertyGridView& view);

    // ---- Lists, filled by the library operations ----
    // The type list selects position 0 once filled; the unit list keeps its position.
    void fillTypeList(const std::vector<std::string>& texts);
    void fillUnitList(const std::vector<std::string>& texts);
    void setUnitLabelTable(const std::array<PanelLabelRow, kPanelRowCount>& labels);
    // Selects a unit-list position, which shows the values in that system.
    void selectUnitListPosition(int position);
    int unitListPosition() const { return unitPosition_; }
    int typeListPosition() const { return typePosition_; }

    // "IPS", "SI" or "MKS" for the unit list's position; empty without a selection.
    std::string UnitSystem() const;
    const std::string& shownUnitSystem() const { return shownUnitSystem_; }
    void SystemUnits(const std::string& system) { shownUnitSystem_ = system; }
    // The captions of the unit labels in the grid's order U0-U11.
    const UnitCaptions& unitCaptions() const { return captions_; }

    // ---- Events the view forwards ----
    // The user chose a position of the type list or the unit list.
    void onTypeChosen(int index);
    void onUnitsChosen(int index);
    // The current cell moved; a row below 1 is no cell.
    void onCellMoved(GridCell from, GridCell to);
    // An editor opened on `cell`, however it was asked for.
    void onEditorOpened(GridCell cell);
    // The focus went to one of the lists.
    void onListFocused() { endGridEdit(); }

    // ---- Handlers ----
    // Panel refresh: the grid is built again for the chosen model type.
    void typeCombo_Click();
    // The grid shows the selected material's values for the chosen model type and unit
    // system (the shown unit system stays).
    void rebuildGrid();
    // A new unit system was chosen: unit captions, then the panel refresh.
    void unitsCombo_Click();
    // Tests the value cell being left and stores an accepted value.
    void VSFlexGrid1_LeaveCell(GridCell cell);
    // The grid lost the focus: its current cell becomes row 1, column 1.
    void VSFlexGrid1_LostFocus();
    // Tests and stores a value being typed, leaving the cell where it is (before a save,
    // a unit or type change, a commit or a clear).
    void endGridEdit();
    // A node click: an edit in progress is dropped and the editing state ends.
    void dropGridEdit();
    bool gridEdited() const { return gridEdited_; }

    // ---- FlexGridHost ----
    const clsMaterial* CurrentMaterial() const override;
    int UnitListPosition() const override { return unitPosition_; }
    const NumberParser& Numbers() const override;

  private:
    void setUnitCaptions(int position);
    // Empties a refused entry's cell after `message` (none when empty).
    void refuseEntry(GridCell cell, std::string_view message, MessageIcon icon);

    LibraryController& library_;
    LibraryPrompts& prompts_;
    PropertyGridView& view_;
    std::array<PanelLabelRow, kPanelRowCount> labelTable_{};
    UnitCaptions captions_{};

    std::string shownUnitSystem_ = "SI";
    int unitPosition_ = -1;
    int unitListCount_ = 0;
    int unitListSelected_ = -1;  // what the unit list shows selected
    int typePosition_ = 0;
    bool gridEdited_ = false;
    bool rebuilding_ = false;
    // The value cell being edited and its text when editing began: a cell left as it
    // was stores nothing, since its text carries only the digits shown.
    int editRow_ = 0;
    std::string editStartText_;
};

}  // namespace material
