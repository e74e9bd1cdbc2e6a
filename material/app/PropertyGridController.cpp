#include "app/PropertyGridController.h"

#include "app/PanelRules.h"
#include "data/ModelCatalogue.h"
#include "data/library/LibraryController.h"
#include "units/UnitSystems.h"

namespace material {

PropertyGridController::PropertyGridController(LibraryController& library, LibraryPrompts& prompts,
                                               PropertyGridView& view)
    : library_(library), prompts_(prompts), view_(view) {}

// ---- Lists ---------------------------------------------------------------------------------

void PropertyGridController::fillTypeList(const std::vector<std::string>& texts) {
    view_.FillTypeList(texts, texts.empty() ? -1 : 0);
    if (!texts.empty()) {
        onTypeChosen(0);
    }
}

void PropertyGridController::fillUnitList(const std::vector<std::string>& texts) {
    unitListCount_ = static_cast<int>(texts.size());
    unitListSelected_ = unitPosition_ < unitListCount_ ? unitPosition_ : -1;
    view_.FillUnitList(texts, unitListSelected_);
}

void PropertyGridController::setUnitLabelTable(
    const std::array<PanelLabelRow, kPanelRowCount>& labels) {
    labelTable_ = labels;
}

void PropertyGridController::selectUnitListPosition(int position) {
    if (position < 0 || position >= unitListCount_) {
        return;
    }
    if (unitListSelected_ == position && unitPosition_ == position) {
        return;
    }
    unitListSelected_ = position;
    view_.SelectUnitPosition(position);
    onUnitsChosen(position);
}

std::string PropertyGridController::UnitSystem() const {
    return std::string(UnitSystemAtPosition(unitPosition_));
}

void PropertyGridController::onTypeChosen(int index) {
    // A value being typed belongs to the row layout it was typed in.
    endGridEdit();
    typePosition_ = index;
    typeCombo_Click();
}

void PropertyGridController::onUnitsChosen(int index) {
    // A value being typed is in the system it was typed in.
    endGridEdit();
    unitListSelected_ = index;
    unitPosition_ = index;
    unitsCombo_Click();
}

// ---- Refresh -------------------------------------------------------------------------------

void PropertyGridController::typeCombo_Click() {
    const std::string system = UnitSystem();
    if (system != kSi && library_.SelectedMaterialPosition() >= 0) {
        shownUnitSystem_ = system;
    }
    rebuildGrid();
}

void PropertyGridController::rebuildGrid() {
    dropGridEdit();
    rebuilding_ = true;
    view_.RebuildGrid(*this, typePosition_, captions_);
    rebuilding_ = false;
}

void PropertyGridController::unitsCombo_Click() {
    setUnitCaptions(unitPosition_);
    typeCombo_Click();
}

void PropertyGridController::setUnitCaptions(int position) {
    const std::string_view system = UnitSystemAtPosition(position);
    if (system.empty()) {
        return;  // no entry selected: the captions stay
    }
    auto caption = [&](int row) {
        const PanelLabelRow& labels = labelTable_[static_cast<std::size_t>(row)];
        return system == kIps ? labels.Ips : system == kSi ? labels.Si : labels.Mks;
    };
    // The grid's order U0-U11 is labels 1-9, 12, 10, 11; labels 1-10 take panel rows
    // 0-9, labels 11 and 12 the stress label of row 0.
    for (int u = 0; u < 9; ++u) {
        captions_[static_cast<std::size_t>(u)] = caption(u);
    }
    captions_[9] = caption(0);
    captions_[10] = caption(9);
    captions_[11] = caption(0);
}

// ---- Editing -------------------------------------------------------------------------------

void PropertyGridController::onCellMoved(GridCell from, GridCell to) {
    if (rebuilding_) {
        return;
    }
    if (from.row >= 1) {
        VSFlexGrid1_LeaveCell(from);
    }
    if (to.row >= 1 && to.column == kValueColumn) {
        view_.StartEditing(to.row);
    }
}

// Also a key or a double click on the current value cell, after a save or Enter had
// closed its editor: what is typed then is an entry as well.
void PropertyGridController::onEditorOpened(GridCell cell) {
    if (rebuilding_ || cell.column != kValueColumn || cell.row < 1 || cell.row > view_.RowCount()) {
        return;
    }
    if (gridEdited_ && editRow_ == cell.row) {
        return;  // the same entry goes on
    }
    gridEdited_ = true;
    editRow_ = cell.row;
    editStartText_ = view_.CellText(cell);
}

void PropertyGridController::VSFlexGrid1_LeaveCell(GridCell cell) {
    // Only value cells hold entries; the other columns are never stored.
    if (!gridEdited_ || cell.column != kValueColumn || cell.row < 1 ||
        cell.row > view_.RowCount()) {
        return;
    }
    const std::string text = view_.CellText(cell);
    if (cell.row == editRow_ && text == editStartText_) {
        gridEdited_ = false;  // left as shown: the shown digits are no entry
        return;
    }
    const PropertySlot slot = ResolveRow(typePosition_, cell.row);
    const std::string code = view_.CellText({cell.row, kPropertyColumn});
    switch (JudgeGridEntry(text, code, Numbers(), slot, UnitSystemAtPosition(unitPosition_))) {
        case GridEntry::Empty:
            gridEdited_ = false;
            return;
        case GridEntry::NotANumber:
            refuseEntry(cell, {}, MessageIcon::None);
            return;
        case GridEntry::ForbiddenNegative:
            refuseEntry(cell, kPositiveValueMessage, MessageIcon::None);
            return;
        case GridEntry::TooLarge:
            refuseEntry(cell, kValueTooLargeMessage, MessageIcon::Exclamation);
            return;
        case GridEntry::Number:
            library_.EnterGridValue(cell.row, text);
            view_.FitColumns();
            gridEdited_ = false;
            editRow_ = cell.row;
            editStartText_ = text;  // stored: leaving it again stores nothing more
            return;
    }
}

void PropertyGridController::refuseEntry(GridCell cell, std::string_view message,
                                         MessageIcon icon) {
    if (!message.empty()) {
        prompts_.Message(std::string(message), MessageButtons::Ok, icon);
    }
    view_.SetCellText(cell, std::string());
}

void PropertyGridController::endGridEdit() {
    const std::optional<GridCell> current = view_.CurrentCell();
    if (!current) {
        return;
    }
    view_.CommitOpenEditor();
    VSFlexGrid1_LeaveCell(*current);
}

void PropertyGridController::dropGridEdit() {
    view_.DropOpenEditor();
    gridEdited_ = false;
    editRow_ = 0;
}

void PropertyGridController::VSFlexGrid1_LostFocus() {
    if (view_.RowCount() > 0) {
        view_.SetCurrentCell({1, kDescriptionColumn});
    }
}

// ---- FlexGridHost --------------------------------------------------------------------------

const clsMaterial* PropertyGridController::CurrentMaterial() const {
    return library_.MaterialAt(library_.SelectedMaterialPosition());
}

const NumberParser& PropertyGridController::Numbers() const {
    return library_.Numbers();
}

}  // namespace material
