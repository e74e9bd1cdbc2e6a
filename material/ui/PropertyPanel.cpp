#include "PropertyPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QVBoxLayout>

#include "TextCodec.h"
#include "grid/PropertyGrid.h"

namespace material {

// ---- PropertyTable -------------------------------------------------------------------------

void PropertyTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The base class hands an open editor's text to its cell first.
    QTableWidget::currentChanged(current, previous);
    emit cellMoved(
        previous.isValid() ? previous.row() : -1, previous.isValid() ? previous.column() : -1,
        current.isValid() ? current.row() : -1, current.isValid() ? current.column() : -1);
}

bool PropertyTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool wasOpen = indexWidget(index) != nullptr;
    const bool open = QTableWidget::edit(index, trigger, event);
    if (open && !wasOpen) {
        emit editorOpened(index.row(), index.column());
    }
    return open;
}

bool PropertyTable::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !valueTooltip) {
        return QTableWidget::viewportEvent(event);
    }
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text =
        index.isValid() && index.column() == kValueColumn ? valueTooltip(index.row()) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    }
    return true;
}

void PropertyTable::commitOpenEditor() {
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PropertyTable::dropOpenEditor() {
    if (QWidget* editor = indexWidget(currentIndex())) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
}

// ---- PropertyPanel -------------------------------------------------------------------------

PropertyPanel::PropertyPanel(LibraryController& library, LibraryPrompts& prompts, QWidget* parent)
    : QWidget(parent), controller_(library, prompts, *this) {
    setObjectName(QStringLiteral("propertyPanel"));
    buildControls();
}

PropertyPanel::~PropertyPanel() {
    // The focus moves while the children go; this panel no longer follows it.
    disconnect(qApp, nullptr, this, nullptr);
}

void PropertyPanel::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* lists = new QHBoxLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Type           :"), this);
    typeCombo_ = new QComboBox(this);
    typeCombo_->setObjectName(QStringLiteral("typeCombo"));
    typeLabel->setBuddy(typeCombo_);
    auto* unitsLabel = new QLabel(QStringLiteral("Units  :"), this);
    unitsCombo_ = new QComboBox(this);
    unitsCombo_->setObjectName(QStringLiteral("unitsCombo"));
    unitsLabel->setBuddy(unitsCombo_);
    lists->addWidget(typeLabel);
    lists->addWidget(typeCombo_, 1);
    lists->addSpacing(12);
    lists->addWidget(unitsLabel);
    lists->addWidget(unitsCombo_);
    layout->addLayout(lists);

    grid_ = new PropertyTable(this);
    grid_->setObjectName(QStringLiteral("VSFlexGrid1"));
    // Editing starts on entering a value cell; a key or double click restarts it there.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    layout->addWidget(grid_, 1);
    // Takes the room of a hidden grid, so the lists stay at the top.
    layout->addStretch(0);

    connect(typeCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { controller_.onTypeChosen(index); });
    connect(unitsCombo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { controller_.onUnitsChosen(index); });
    grid_->valueTooltip = [this](int row) {
        return QString::fromLatin1(ValueTooltip(PropertyGrid::GridRow(row)));
    };
    connect(grid_, &PropertyTable::cellMoved, this, &PropertyPanel::onCellMoved);
    connect(grid_, &PropertyTable::editorOpened, this, [this](int row, int column) {
        controller_.onEditorOpened({PropertyGrid::GridRow(row), column});
    });
    connect(qApp, &QApplication::focusChanged, this, &PropertyPanel::onFocusChanged);
}

std::string PropertyPanel::ValueTooltip(int row) const {
    const clsMaterial* material = controller_.CurrentMaterial();
    const QTableWidgetItem* item = grid_->item(PropertyGrid::TableRow(row), kValueColumn);
    if (material == nullptr || item == nullptr) {
        return {};
    }
    return GridValueTooltip(*material, item->data(kLookupCodeRole).toString().toStdString());
}

void PropertyPanel::onCellMoved(int row, int column, int newRow, int newColumn) {
    // Table row -1 (no cell) becomes grid row 0, which is no data row either.
    controller_.onCellMoved({PropertyGrid::GridRow(row), column},
                            {PropertyGrid::GridRow(newRow), newColumn});
}

void PropertyPanel::onFocusChanged(QWidget* old, QWidget* now) {
    // A message box or another window taking the focus is no leaving.
    if (now == nullptr || now->window() != window()) {
        return;
    }
    const auto inGrid = [this](QWidget* w) {
        return w != nullptr && (w == grid_ || grid_->isAncestorOf(w));
    };
    if (now == unitsCombo_ || now == typeCombo_) {
        controller_.onListFocused();
    }
    if (inGrid(old) && !inGrid(now)) {
        controller_.VSFlexGrid1_LostFocus();
    }
}

// ---- PropertyGridView ----------------------------------------------------------------------

namespace {

void FillQuietly(QComboBox& combo, const std::vector<std::string>& texts, int selected) {
    const QSignalBlocker quiet(&combo);
    combo.clear();
    for (const std::string& text : texts) {
        combo.addItem(fromLibraryText(text));
    }
    combo.setCurrentIndex(selected);
}

}  // namespace

void PropertyPanel::FillTypeList(const std::vector<std::string>& texts, int selected) {
    FillQuietly(*typeCombo_, texts, selected);
}

void PropertyPanel::FillUnitList(const std::vector<std::string>& texts, int selected) {
    FillQuietly(*unitsCombo_, texts, selected);
}

void PropertyPanel::SelectUnitPosition(int position) {
    const QSignalBlocker quiet(unitsCombo_);
    unitsCombo_->setCurrentIndex(position);
}

void PropertyPanel::RebuildGrid(const FlexGridHost& host, int modelType,
                                const UnitCaptions& captions) {
    PropertyGrid flexGrid(host, captions);
    flexGrid.UpdateProperty(*grid_, modelType);
}

int PropertyPanel::RowCount() const {
    return grid_->rowCount();
}

std::string PropertyPanel::CellText(GridCell cell) const {
    const QTableWidgetItem* item = grid_->item(PropertyGrid::TableRow(cell.row), cell.column);
    return item != nullptr ? toLibraryText(item->text()) : std::string();
}

void PropertyPanel::SetCellText(GridCell cell, const std::string& text) {
    if (QTableWidgetItem* item = grid_->item(PropertyGrid::TableRow(cell.row), cell.column)) {
        item->setText(fromLibraryText(text));
    }
}

void PropertyPanel::FitColumns() {
    PropertyGrid::FitColumns(*grid_);
}

std::optional<GridCell> PropertyPanel::CurrentCell() const {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        return std::nullopt;
    }
    return GridCell{PropertyGrid::GridRow(current.row()), current.column()};
}

void PropertyPanel::SetCurrentCell(GridCell cell) {
    grid_->setCurrentCell(PropertyGrid::TableRow(cell.row), cell.column);
}

void PropertyPanel::StartEditing(int row) {
    if (QTableWidgetItem* item = grid_->item(PropertyGrid::TableRow(row), kValueColumn)) {
        grid_->editItem(item);
    }
}

void PropertyPanel::CommitOpenEditor() {
    grid_->commitOpenEditor();
}

void PropertyPanel::DropOpenEditor() {
    grid_->dropOpenEditor();
}

}  // namespace material
