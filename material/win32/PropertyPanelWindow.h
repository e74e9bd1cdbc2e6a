// The property panel of the library window (Win32): the "Type           :" and
// "Units  :" lists (`typeCombo`, `unitsCombo`) and the property grid (the text's
// `clsFlexGrid` over `VSFlexGrid1`), a report-mode list view with an edit control over
// the current Value cell. A child window of its own (WS_EX_CONTROLPARENT, so dialog
// navigation passes through it); what it shows and when values are stored is decided
// by its PropertyGridController.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/PropertyGridController.h"

namespace material {
class LibraryController;
class LibraryPrompts;
}  // namespace material

namespace material::win32 {

class PropertyPanelWindow final : private PropertyGridView {
  public:
    // Creates the panel as a child of `parent` with control id `id`, hidden until placed.
    PropertyPanelWindow(HWND parent, int id, LibraryController& library, LibraryPrompts& prompts);
    ~PropertyPanelWindow() override;
    PropertyPanelWindow(const PropertyPanelWindow&) = delete;
    PropertyPanelWindow& operator=(const PropertyPanelWindow&) = delete;

    PropertyGridController& controller() { return controller_; }
    const PropertyGridController& controller() const { return controller_; }

    HWND window() const { return window_; }
    HWND typeCombo() const { return typeCombo_; }
    HWND unitsCombo() const { return unitsCombo_; }
    HWND grid() const { return grid_; }
    // The cell editor while one is open, else null.
    HWND cellEditor() const;
    // The tooltip control of the value cells (its one tool: the grid, id 1).
    HWND valueTooltips() const { return tooltip_; }

    // Places the panel at `area` (the parent's client coordinates) and lays out its controls.
    void place(const RECT& area);
    // New-material mode hides the grid; the lists stay in view.
    void showGrid(bool shown);

    // ---- Lists, filled by the library operations ----
    void fillTypeList(const std::vector<std::string>& texts) { controller_.fillTypeList(texts); }
    void fillUnitList(const std::vector<std::string>& texts) { controller_.fillUnitList(texts); }
    void setUnitLabelTable(const std::array<PanelLabelRow, kPanelRowCount>& labels) {
        controller_.setUnitLabelTable(labels);
    }
    void selectUnitListPosition(int position) { controller_.selectUnitListPosition(position); }
    int unitListPosition() const { return controller_.unitListPosition(); }
    int typeListPosition() const { return controller_.typeListPosition(); }
    const std::string& shownUnitSystem() const { return controller_.shownUnitSystem(); }

    // ---- Handlers ----
    void typeCombo_Click() { controller_.typeCombo_Click(); }
    void endGridEdit() { controller_.endGridEdit(); }

    // ---- PropertyGridView (public for tests and the window that hosts the panel) ----
    int RowCount() const override;
    std::string CellText(GridCell cell) const override;
    std::optional<GridCell> CurrentCell() const override;
    void SetCurrentCell(GridCell cell) override;
    // The text of a grid heading (column 0-3).
    std::wstring HeadingText(int column) const;
    int ColumnWidth(int column) const;
    // The tooltip a value cell shows (the value in the three systems), empty for none.
    std::string ValueTooltip(int row) const;

  private:
    // Remaining PropertyGridView members, for the controller only.
    void FillTypeList(const std::vector<std::string>& texts, int selected) override;
    void FillUnitList(const std::vector<std::string>& texts, int selected) override;
    void SelectUnitPosition(int position) override;
    void RebuildGrid(const FlexGridHost& host, int modelType,
                     const UnitCaptions& captions) override;
    void SetCellText(GridCell cell, const std::string& text) override;
    void FitColumns() override;
    void StartEditing(int row) override;
    void CommitOpenEditor() override;
    void DropOpenEditor() override;

    void registerClass();
    HWND child(const wchar_t* className, const wchar_t* text, DWORD style, DWORD extendedStyle,
               int id);
    void createLists();
    void createGrid();
    void createTooltip();
    TTTOOLINFOW toolInfo() const;
    void layout();
    int textWidth(const std::wstring& text) const;
    // `pixels` at 96 DPI in the window's DPI.
    int scaled(int pixels) const;
    int unitsComboWidth() const;
    int textHeight() const;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND control, UINT code);
    LRESULT onNotify(const NMHDR& header);
    LRESULT onCustomDraw(NMLVCUSTOMDRAW& draw);
    static LRESULT CALLBACK gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data);
    LRESULT handleGrid(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data);
    LRESULT handleEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT gridDialogCode(const MSG* key) const;
    // A key pressed in the grid or in the open editor; true when it was used.
    bool onGridKey(UINT key);
    // The cell a navigation key moves to, or nothing for any other key.
    std::optional<GridCell> keyTarget(UINT key) const;
    void onGridCharacter(wchar_t character);
    bool onEditorKey(UINT key);
    void leaveByTab();
    void onGridClick(POINT point, bool doubleClick);
    void onGridFocused();
    // The grid or its editor loses the focus to `to`.
    void onFocusLeaving(HWND to);
    bool leavesGridWithinWindow(HWND to) const;
    void onGridLeft();
    void onGridHover(POINT point);
    // The data cell under `point` (grid client coordinates), if any.
    std::optional<GridCell> cellAt(POINT point) const;

    // Makes `to` the current cell and tells the controller of the move.
    void moveTo(GridCell to);
    void redrawRow(int row);
    // Opens the editor on the value cell of `row`, holding `typed` or the cell's text.
    void openEditor(int row, const wchar_t* typed);
    void placeEditor();
    void closeEditor();
    const std::string& cellText(int row) const;

    void fillCombo(HWND combo, const std::vector<std::string>& texts, int selected);
    // Shows cells_ in the list view; `before` is what it showed until now.
    void showRows(const std::vector<std::array<std::string, kGridColumnCount>>& before);
    void showCell(int row, int column);
    // Each column's widest text (heading included) with the cell margin.
    std::array<int, kGridColumnCount> widestTexts() const;
    void fillLastColumn(int widest);

    HWND window_ = nullptr;
    bool placed_ = false;
    RECT placedAt_{};
    HWND typeLabel_ = nullptr;
    HWND typeCombo_ = nullptr;
    HWND unitsLabel_ = nullptr;
    HWND unitsCombo_ = nullptr;
    HWND grid_ = nullptr;
    HWND editor_ = nullptr;
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;  // the parent's, or the GUI font; not owned

    // The grid's texts (library texts), row 1 first, and the codes its values come from.
    std::vector<std::array<std::string, kGridColumnCount>> cells_;
    std::vector<std::string> lookupCodes_;
    bool showValues_ = false;
    bool valuesEditable_ = false;
    std::optional<GridCell> current_;
    bool editing_ = false;
    int editRow_ = 0;
    int hoverRow_ = -1;  // value cell under the mouse (0: none)
    bool clicking_ = false;
    bool closing_ = false;
    PropertyGridController controller_;
};

}  // namespace material::win32
