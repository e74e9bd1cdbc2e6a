#include "PropertyGrid.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

#include "data/Material.h"
#include "data/NumberParser.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

// Texts of the core are single-byte; the grid's texts are plain ASCII.
QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::ItemFlags FlagsOf(int column, bool valuesEditable) {
    const Qt::ItemFlags readOnly = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return column == kValueColumn && valuesEditable ? readOnly | Qt::ItemIsEditable : readOnly;
}

QTableWidgetItem* NewItem(int column, bool valuesEditable) {
    auto* item = new QTableWidgetItem;
    item->setFlags(FlagsOf(column, valuesEditable));
    if (column == kValueColumn) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

}  // namespace

PropertyGrid::PropertyGrid(const FlexGridHost& host, const UnitCaptions& captions)
    : host_(host), captions_(captions) {}

void PropertyGrid::InitializeGrid(QTableWidget& flexgrid) {
    grid_ = &flexgrid;
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setVisible(false);
    // Rows one text line high; the style's default leaves a wide gap around the text.
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSortingEnabled(false);
    grid_->setWordWrap(false);
    grid_->setColumnCount(kGridColumnCount);
    for (int c = 0; c < kGridColumnCount; ++c) {
        grid_->setHorizontalHeaderItem(
            c, new QTableWidgetItem(ToQt(kGridHeadings[static_cast<std::size_t>(c)])));
    }
}

bool PropertyGrid::Inside(int Col, int Row) const {
    return grid_ != nullptr && Col >= 0 && Col < grid_->columnCount() && Row >= 0 && Row < Rows();
}

QString PropertyGrid::GetCellText(int Col, int Row) {
    if (!Inside(Col, Row)) {
        return {};
    }
    if (Row == 0) {
        const QTableWidgetItem* heading = grid_->horizontalHeaderItem(Col);
        return heading != nullptr ? heading->text() : QString();
    }
    grid_->setCurrentCell(TableRow(Row), Col);
    const QTableWidgetItem* item = grid_->item(TableRow(Row), Col);
    return item != nullptr ? item->text() : QString();
}

void PropertyGrid::Cell(int Col, int Row, const QString& Text) {
    if (!Inside(Col, Row)) {
        return;
    }
    if (Row > 0) {
        grid_->setCurrentCell(TableRow(Row), Col);
    }
    SetCellText(Col, Row, CellTextFor(Col, Row, Text));
    FitColumns(*grid_);
}

void PropertyGrid::FitColumns(QTableWidget& flexgrid) {
    const QFontMetrics metrics(flexgrid.font());
    // Room the style leaves around a cell's text.
    const int margin =
        2 * (flexgrid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &flexgrid) + 1) +
        8;
    QHeaderView* header = flexgrid.horizontalHeader();
    for (int c = 0; c < flexgrid.columnCount(); ++c) {
        int widest = header->sectionSizeHint(c);
        for (int r = 0; r < flexgrid.rowCount(); ++r) {
            if (const QTableWidgetItem* item = flexgrid.item(r, c)) {
                widest = std::max(widest, metrics.horizontalAdvance(item->text()) + margin);
            }
        }
        if (header->sectionSize(c) != widest && c + 1 < flexgrid.columnCount()) {
            flexgrid.setColumnWidth(c, widest);  // the last column fills the rest
        }
    }
}

QString PropertyGrid::CellTextFor(int Col, int Row, const QString& text) const {
    if (Col != kValueColumn || Row < 1) {
        return text;
    }
    const std::optional<std::string> number = NumericCellText(text.toStdString(), host_.Numbers());
    return number ? ToQt(*number) : text;
}

QTableWidgetItem* PropertyGrid::SetCellText(int Col, int Row, const QString& text) {
    if (Row == 0) {
        grid_->horizontalHeaderItem(Col)->setText(text);
        return nullptr;
    }
    QTableWidgetItem* item = grid_->item(TableRow(Row), Col);
    if (item == nullptr) {
        item = NewItem(Col, valuesEditable_);
        grid_->setItem(TableRow(Row), Col, item);
    }
    item->setText(text);
    return item;
}

void PropertyGrid::UpdateProperty(QTableWidget& flexgrid, int modelType) {
    flexgrid.clearContents();
    flexgrid.setCurrentCell(-1, -1);
    InitializeGrid(flexgrid);

    const clsMaterial* material = host_.CurrentMaterial();
    const int position = host_.UnitListPosition();
    const std::vector<GridRowLayout> rows =
        GridRows(modelType, position, captions_, material != nullptr);
    const bool showValues = material != nullptr && GridShowsValues(modelType);
    const std::string_view system = UnitSystemAtPosition(position);
    // Without a material an entry would be stored nowhere.
    valuesEditable_ = material != nullptr;

    grid_->setUpdatesEnabled(false);
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const GridRowLayout& row = rows[r];
        const int gridRow = static_cast<int>(r) + 1;
        SetCellText(kPropertyColumn, gridRow, ToQt(row.code));
        SetCellText(kDescriptionColumn, gridRow, ToQt(row.description));
        const std::string value =
            showValues ? GridValueText(*material, row.lookupCode, system) : std::string();
        QTableWidgetItem* cell =
            SetCellText(kValueColumn, gridRow, CellTextFor(kValueColumn, gridRow, ToQt(value)));
        // The tooltip is made when asked, from the record as it is then: an entry stored
        // later shows in it too.
        cell->setData(kLookupCodeRole, ToQt(row.lookupCode));
        SetCellText(kUnitsColumn, gridRow, ToQt(row.units));
    }
    FitColumns(*grid_);
    grid_->setUpdatesEnabled(true);
}

int PropertyGrid::Rows() const {
    return grid_ != nullptr ? grid_->rowCount() + 1 : 0;
}

}  // namespace material
