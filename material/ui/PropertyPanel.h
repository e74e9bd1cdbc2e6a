// The property panel of the library window (Qt): the model-type and unit lists and the
// property grid. Values are held in SI by the library; the grid shows them converted and
// every accepted entry goes back through the record's Map, which converts it to SI.
#pragma once

#include <QString>
#include <QTableWidget>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/GridLayout.h"
#include "app/PropertyGridController.h"
#include "data/Material.h"
#include "units/PanelTables.h"

class QComboBox;

namespace material {

class LibraryPrompts;
class LibraryController;

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
    // What a value cell's tooltip shows for a table row; empty: no tooltip.
    std::function<QString(int row)> valueTooltip;

  signals:
    // The current cell moved from (row, column) to (newRow, newColumn); table rows, -1
    // for none.
    void cellMoved(int row, int column, int newRow, int newColumn);
    // An editor opened on cell (row, column), however it was asked for.
    void editorOpened(int row, int column);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};

// The panel's controls; what they show and when values are stored is decided by its
// PropertyGridController.
class PropertyPanel : public QWidget, private PropertyGridView {
    Q_OBJECT

  public:
    PropertyPanel(LibraryController& library, LibraryPrompts& prompts, QWidget* parent = nullptr);
    ~PropertyPanel() override;

    PropertyGridController& controller() { return controller_; }
    const PropertyGridController& controller() const { return controller_; }

    // ---- Lists, filled by the library operations ----
    void fillTypeList(const std::vector<std::string>& texts) { controller_.fillTypeList(texts); }
    void fillUnitList(const std::vector<std::string>& texts) { controller_.fillUnitList(texts); }
    void setUnitLabelTable(const std::array<PanelLabelRow, kPanelRowCount>& labels) {
        controller_.setUnitLabelTable(labels);
    }
    void selectUnitListPosition(int position) { controller_.selectUnitListPosition(position); }
    int unitListPosition() const { return controller_.unitListPosition(); }
    int typeListPosition() const { return controller_.typeListPosition(); }
    std::string UnitSystem() const { return controller_.UnitSystem(); }
    const std::string& shownUnitSystem() const { return controller_.shownUnitSystem(); }
    void SystemUnits(const std::string& system) { controller_.SystemUnits(system); }

    // ---- Handlers ----
    void typeCombo_Click() { controller_.typeCombo_Click(); }
    void rebuildGrid() { controller_.rebuildGrid(); }
    void unitsCombo_Click() { controller_.unitsCombo_Click(); }
    void VSFlexGrid1_LeaveCell(int gridRow, int column) {
        controller_.VSFlexGrid1_LeaveCell({gridRow, column});
    }
    void VSFlexGrid1_LostFocus() { controller_.VSFlexGrid1_LostFocus(); }
    void endGridEdit() { controller_.endGridEdit(); }
    void dropGridEdit() { controller_.dropGridEdit(); }
    bool gridEdited() const { return controller_.gridEdited(); }

    PropertyTable* grid() const { return grid_; }
    // The tooltip of the value cell in grid row `row`: the value in the three systems as
    // the record holds it now; empty when the property holds no value.
    std::string ValueTooltip(int row) const;
    // The unit captions in the grid's order U0-U11.
    const UnitCaptions& unitCaptions() const { return controller_.unitCaptions(); }

  private:
    void buildControls();
    void onCellMoved(int row, int column, int newRow, int newColumn);
    void onFocusChanged(QWidget* old, QWidget* now);

    // ---- PropertyGridView ----
    void FillTypeList(const std::vector<std::string>& texts, int selected) override;
    void FillUnitList(const std::vector<std::string>& texts, int selected) override;
    void SelectUnitPosition(int position) override;
    void RebuildGrid(const FlexGridHost& host, int modelType,
                     const UnitCaptions& captions) override;
    int RowCount() const override;
    std::string CellText(GridCell cell) const override;
    void SetCellText(GridCell cell, const std::string& text) override;
    void FitColumns() override;
    std::optional<GridCell> CurrentCell() const override;
    void SetCurrentCell(GridCell cell) override;
    void StartEditing(int row) override;
    void CommitOpenEditor() override;
    void DropOpenEditor() override;

    QComboBox* typeCombo_ = nullptr;
    QComboBox* unitsCombo_ = nullptr;
    PropertyTable* grid_ = nullptr;
    PropertyGridController controller_;
};

}  // namespace material
