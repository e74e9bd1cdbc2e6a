#pragma once
// Scripted views of the library window's controllers: what a front end's window would
// show, held as plain values, with cell moves and editors behaving as a table's do.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/GridLayout.h"
#include "app/LibraryWindowController.h"
#include "app/PropertyGridController.h"
#include "data/Text.h"
#include "units/UnitSystems.h"

namespace material::testing {

// A grid held as texts; cell moves and editors behave as the Qt table's do.
class GridViewStub : public PropertyGridView {
  public:
    PropertyGridController* controller = nullptr;
    std::vector<std::string> typeList, unitList;
    int typeSelected = -1, unitSelected = -1;
    int rebuilds = 0;
    UnitCaptions captions{};
    std::map<std::pair<int, int>, std::string> cells;
    int rows = 0;
    std::optional<GridCell> current;
    std::optional<std::string> editor;  // text of the open cell editor

    void FillTypeList(const std::vector<std::string>& texts, int selected) override {
        typeList = texts;
        typeSelected = selected;
    }
    void FillUnitList(const std::vector<std::string>& texts, int selected) override {
        unitList = texts;
        unitSelected = selected;
    }
    void SelectUnitPosition(int position) override { unitSelected = position; }
    void RebuildGrid(const FlexGridHost& host, int modelType, const UnitCaptions& c) override {
        ++rebuilds;
        captions = c;
        cells.clear();
        current.reset();
        const std::vector<GridRowLayout> layout =
            GridRows(modelType, host.UnitListPosition(), c, host.CurrentMaterial() != nullptr);
        rows = static_cast<int>(layout.size());
        const std::string system(UnitSystemAtPosition(host.UnitListPosition()));
        for (int r = 1; r <= rows; ++r) {
            const GridRowLayout& row = layout[static_cast<std::size_t>(r - 1)];
            cells[{r, kPropertyColumn}] = row.code;
            if (host.CurrentMaterial() != nullptr) {
                cells[{r, kValueColumn}] =
                    GridValueText(*host.CurrentMaterial(), row.lookupCode, system);
            }
        }
    }
    int RowCount() const override { return rows; }
    std::string CellText(GridCell cell) const override {
        const auto it = cells.find({cell.row, cell.column});
        return it == cells.end() ? std::string() : it->second;
    }
    void SetCellText(GridCell cell, const std::string& text) override {
        cells[{cell.row, cell.column}] = text;
    }
    void FitColumns() override {}
    std::optional<GridCell> CurrentCell() const override { return current; }
    void SetCurrentCell(GridCell cell) override {
        CommitOpenEditor();  // the table hands an open editor's text to its cell first
        const GridCell from = current.value_or(GridCell{});
        current = cell;
        controller->onCellMoved(from, cell);
    }
    void StartEditing(int row) override {
        editor = CellText({row, kValueColumn});
        controller->onEditorOpened({row, kValueColumn});
    }
    void CommitOpenEditor() override {
        if (editor && current) {
            cells[{current->row, current->column}] = *editor;
        }
        editor.reset();
    }
    void DropOpenEditor() override { editor.reset(); }

    int RowOf(const std::string& code) const {
        for (int r = 1; r <= rows; ++r) {
            if (text::Trim(CellText({r, kPropertyColumn})) == code) {
                return r;
            }
        }
        return 0;
    }
};

// The library window's controls; closing it asks its controller as a window's close does.
class WindowViewStub : public LibraryWindowView {
  public:
    LibraryWindowController* controller = nullptr;
    std::vector<std::string> texts = {"", "", ""};
    bool newMaterialMode = false;
    std::vector<PanelField> focusReturns;
    int treeShows = 0;
    int windowCloses = 0;
    bool windowOpen = true;
    std::vector<bool> frameStates;
    int frameCloses = 0;

    void SetPanelTexts(const std::string& category, const std::string& name,
                       const std::string& description) override {
        texts = {category, name, description};
    }
    void ShowNewMaterialMode(bool on) override { newMaterialMode = on; }
    void ReturnFocus(PanelField field) override { focusReturns.push_back(field); }
    void ShowTree() override { ++treeShows; }
    void CloseWindow() override {
        ++windowCloses;
        windowOpen = !controller->closeRequested();
    }
    void ShowLibraryInFrame(bool open) override { frameStates.push_back(open); }
    void CloseFrame() override { ++frameCloses; }
};

}  // namespace material::testing
