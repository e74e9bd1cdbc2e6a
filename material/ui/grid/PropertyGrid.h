#pragma once
// clsFlexGrid: the property grid of the library window (Qt), a four-column table with one row per
// property of the chosen model type (code, description, value, unit). The window creates a new
// PropertyGrid for every refresh, after its unit captions were set for the system shown.
//
// Rows are numbered as the window's grid events and the record's Map expect: row 0 is
// the heading row (the table's header), data rows start at 1. GridRow and TableRow
// translate between these numbers and the rows of the QTableWidget.

#include <QString>
#include <Qt>

#include "app/GridLayout.h"

class QTableWidget;
class QTableWidgetItem;

namespace material {

// The item role that holds a value cell's lookup code (the property it shows).
inline constexpr int kLookupCodeRole = Qt::UserRole + 1;

class PropertyGrid {
  public:
    // `captions` are copied: U0-U11, the texts of the window's unit labels. `host` must
    // outlive this object.
    PropertyGrid(const FlexGridHost& host, const UnitCaptions& captions);

    // Keeps `flexgrid`, sets it up (four columns, headings, only the value column
    // editable, the last column filling the width) and writes the headings.
    void InitializeGrid(QTableWidget& flexgrid);

    // Makes (Col, Row) the current cell and returns its text; row 0 gives the heading.
    // A cell outside the grid gives empty text.
    QString GetCellText(int Col, int Row);

    // Writes `Text` into (Col, Row) and sizes column Col to its contents. A number in a
    // value cell (column 2, row 1 or later) is rewritten in the user's number form.
    // A cell outside the grid is left alone.
    void Cell(int Col, int Row, const QString& Text);

    // Rebuilds the whole grid for model type `modelType` (the type-list position) from
    // the host's current material, in the unit system of the host's unit list.
    void UpdateProperty(QTableWidget& flexgrid, int modelType);

    // Grid rows including the heading row.
    int Rows() const;

    // Sizes every column to the widest of its texts and its heading, over all rows (the
    // view's own measuring looks at the rows in view only). A column whose widest text
    // is unchanged keeps its width.
    static void FitColumns(QTableWidget& flexgrid);

    static int GridRow(int tableRow) { return tableRow + 1; }
    static int TableRow(int gridRow) { return gridRow - 1; }

  private:
    bool Inside(int Col, int Row) const;
    QTableWidgetItem* SetCellText(int Col, int Row, const QString& text);
    QString CellTextFor(int Col, int Row, const QString& text) const;

    const FlexGridHost& host_;
    UnitCaptions captions_;
    QTableWidget* grid_ = nullptr;
    bool valuesEditable_ = true;  // false while no material is shown
};

}  // namespace material
