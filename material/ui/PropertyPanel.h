// The property panel of the library window: the model-type and unit lists, the
// property grid with the selected material's values in the chosen unit system, and the
// rules for values typed into the grid. Values are held in SI by the library; the
// grid shows them converted and every accepted entry goes back through the record's
// Map, which converts it to SI.
#pragma once

#include <QString>
#include <QTableWidget>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "data/Material.h"
#include "app/GridLayout.h"
#include "units/PanelTables.h"

class QComboBox;
class QLabel;

namespace material {

class LibraryPrompts;
class Module1;

// The grid widget: reports every move of its current cell once an open cell editor
// has handed its text to the cell.
class PropertyTable : public QTableWidget {
    Q_OBJECT

  public:
    using QTableWidget::QTableWidget;

    // Hands the text of an open cell editor to its cell and closes the editor.
    void commitOpenEditor();
    // Closes an open cell editor without keeping what it holds.
    void dropOpenEditor();

  signals:
    // The current cell moved from (row, column) to (newRow, newColumn); table rows, -1
    // for none.
    void cellMoved(int row, int column, int newRow, int newColumn);
    // An editor opened on cell (row, column), however it was asked for.
    void editorOpened(int row, int column);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

class PropertyPanel : public QWidget, public FlexGridHost {
    Q_OBJECT

  public:
    PropertyPanel(Module1& library, LibraryPrompts& prompts, QWidget* parent = nullptr);
    ~PropertyPanel() override;

    // ---- Lists, filled by the library operations ----
    // The type list selects position 0 once filled; the unit list selects nothing.
    void fillTypeList(const std::vector<std::string>& texts);
    void fillUnitList(const std::vector<std::string>& texts);
    void setUnitLabelTable(const std::array<PanelLabelRow, kPanelRowCount>& labels);
    // Selects a unit-list position, which shows the values in that system.
    void selectUnitListPosition(int position);
    // The positions the panel works with (-1: none selected).
    int unitListPosition() const { return unitPosition_; }
    int typeListPosition() const { return typePosition_; }

    // "IPS", "SI" or "MKS" for the unit list's position; empty without a selection.
    std::string UnitSystem() const;
    const std::string& shownUnitSystem() const { return shownUnitSystem_; }
    void SystemUnits(const std::string& system) { shownUnitSystem_ = system; }

    // ---- Handlers ----
    // Panel refresh: the grid is built again for the chosen model type.
    void typeCombo_Click();
    // Step 3 of the refresh alone: the grid shows the selected material's values for the
    // chosen model type and unit system (the shown unit system stays).
    void rebuildGrid();
    // A new unit system was chosen: unit captions, then the panel refresh.
    void unitsCombo_Click();
    // Tests the value cell (gridRow, column) being left and stores an accepted value.
    void VSFlexGrid1_LeaveCell(int gridRow, int column);
    // The grid lost the focus: its current cell becomes row 1, column 1.
    void VSFlexGrid1_LostFocus();
    // Tests and stores a value being typed, leaving the cell where it is (before a save,
    // a unit or type change, a commit or a clear).
    void endGridEdit();
    // A node click: an edit in progress is dropped and the editing state ends.
    void dropGridEdit();
    bool gridEdited() const { return gridEdited_; }

    PropertyTable* grid() const { return grid_; }
    // The captions of the twelve hidden unit labels in the grid's order U0-U11.
    UnitCaptions unitCaptions() const;

    // ---- FlexGridHost ----
    const clsMaterial* CurrentMaterial() const override;
    int UnitListPosition() const override { return unitPosition_; }
    const NumberParser& Numbers() const override;

  private:
    void buildControls();
    void onTypeChosen(int index);
    void onUnitsChosen(int index);
    void onCellMoved(int row, int column, int newRow, int newColumn);
    void onFocusChanged(QWidget* old, QWidget* now);
    void startEditing(int tableRow);
    void onEditorOpened(int tableRow, int column);
    QString cellText(int gridRow, int column) const;
    void setUnitCaptions(int position);

    Module1& library_;
    LibraryPrompts& prompts_;
    QComboBox* typeCombo_ = nullptr;
    QComboBox* unitsCombo_ = nullptr;
    PropertyTable* grid_ = nullptr;
    std::array<QLabel*, kUnitCaptionCount> unitLabels_{};  // unitStringsLabel1 ... 12
    std::array<PanelLabelRow, kPanelRowCount> labelTable_{};

    std::string shownUnitSystem_ = "SI";
    int unitPosition_ = -1;
    int typePosition_ = 0;
    bool gridEdited_ = false;
    bool rebuilding_ = false;
    // The value cell being edited and its text when editing began: a cell left as it
    // was stores nothing, since its text carries only the digits shown.
    int editRow_ = -1;
    QString editStartText_;
};

}  // namespace material
