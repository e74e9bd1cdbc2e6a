#include "PropertyPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "TextCodec.h"
#include "app/PanelRules.h"
#include "data/ModelCatalogue.h"
#include "data/library/LibraryPrompts.h"
#include "data/library/Module1.h"
#include "grid/clsFlexGrid.h"
#include "units/UnitSystems.h"

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

PropertyPanel::PropertyPanel(Module1& library, LibraryPrompts& prompts, QWidget* parent)
    : QWidget(parent), library_(library), prompts_(prompts) {
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

    // The unit captions the grid copies; their frame is never shown.
    auto* captions = new QFrame(this);
    captions->setObjectName(QStringLiteral("unitStringsFrame"));
    auto* captionLayout = new QHBoxLayout(captions);
    for (std::size_t i = 0; i < unitLabels_.size(); ++i) {
        unitLabels_[i] = new QLabel(captions);
        unitLabels_[i]->setObjectName(QStringLiteral("unitStringsLabel%1").arg(i + 1));
        captionLayout->addWidget(unitLabels_[i]);
    }
    captions->hide();

    connect(typeCombo_, &QComboBox::currentIndexChanged, this, &PropertyPanel::onTypeChosen);
    connect(unitsCombo_, &QComboBox::currentIndexChanged, this, &PropertyPanel::onUnitsChosen);
    connect(grid_, &PropertyTable::cellMoved, this, &PropertyPanel::onCellMoved);
    connect(grid_, &PropertyTable::editorOpened, this, &PropertyPanel::onEditorOpened);
    connect(qApp, &QApplication::focusChanged, this, &PropertyPanel::onFocusChanged);
}

// ---- Lists ---------------------------------------------------------------------------------

void PropertyPanel::fillTypeList(const std::vector<std::string>& texts) {
    {
        const QSignalBlocker quiet(typeCombo_);
        typeCombo_->clear();
        for (const std::string& text : texts) {
            typeCombo_->addItem(fromLibraryText(text));
        }
        typeCombo_->setCurrentIndex(-1);
    }
    typeCombo_->setCurrentIndex(texts.empty() ? -1 : 0);
}

void PropertyPanel::fillUnitList(const std::vector<std::string>& texts) {
    const QSignalBlocker quiet(unitsCombo_);
    unitsCombo_->clear();
    for (const std::string& text : texts) {
        unitsCombo_->addItem(fromLibraryText(text));
    }
    unitsCombo_->setCurrentIndex(unitPosition_ < static_cast<int>(texts.size()) ? unitPosition_
                                                                                : -1);
}

void PropertyPanel::setUnitLabelTable(const std::array<PanelLabelRow, kPanelRowCount>& labels) {
    labelTable_ = labels;
}

void PropertyPanel::selectUnitListPosition(int position) {
    if (position < 0 || position >= unitsCombo_->count()) {
        return;
    }
    if (unitsCombo_->currentIndex() == position) {
        if (position != unitPosition_) {
            onUnitsChosen(position);
        }
        return;
    }
    unitsCombo_->setCurrentIndex(position);
}

std::string PropertyPanel::UnitSystem() const {
    return std::string(UnitSystemAtPosition(unitPosition_));
}

void PropertyPanel::onTypeChosen(int index) {
    // A value being typed belongs to the row layout it was typed in.
    endGridEdit();
    typePosition_ = index;
    typeCombo_Click();
}

void PropertyPanel::onUnitsChosen(int index) {
    // A value being typed is in the system it was typed in.
    endGridEdit();
    unitPosition_ = index;
    unitsCombo_Click();
}

// ---- Refresh -------------------------------------------------------------------------------

void PropertyPanel::typeCombo_Click() {
    const std::string system = UnitSystem();
    if (system != kSi && library_.SelectedMaterialPosition() >= 0) {
        shownUnitSystem_ = system;
    }
    rebuildGrid();
}

void PropertyPanel::rebuildGrid() {
    dropGridEdit();
    rebuilding_ = true;
    clsFlexGrid flexGrid(*this, unitCaptions());
    flexGrid.UpdateProperty(*grid_, typePosition_);
    rebuilding_ = false;
}

void PropertyPanel::setUnitCaptions(int position) {
    const std::string_view system = UnitSystemAtPosition(position);
    if (system.empty()) {
        return;  // no entry selected: the captions stay
    }
    auto caption = [&](int row) {
        const PanelLabelRow& labels = labelTable_[static_cast<std::size_t>(row)];
        const std::string& text = system == kIps  ? labels.Ips
                                  : system == kSi ? labels.Si
                                                  : labels.Mks;
        return fromLibraryText(text);
    };
    for (int i = 0; i < 10; ++i) {
        unitLabels_[static_cast<std::size_t>(i)]->setText(caption(i));
    }
    unitLabels_[10]->setText(caption(0));
    unitLabels_[11]->setText(caption(0));
}

UnitCaptions PropertyPanel::unitCaptions() const {
    // The grid's order: labels 1-9, 12, 10, 11.
    static constexpr std::array<int, kUnitCaptionCount> kLabelOf = {0, 1, 2, 3,  4, 5,
                                                                    6, 7, 8, 11, 9, 10};
    UnitCaptions captions;
    for (std::size_t u = 0; u < captions.size(); ++u) {
        captions[u] = toLibraryText(unitLabels_[static_cast<std::size_t>(kLabelOf[u])]->text());
    }
    return captions;
}

void PropertyPanel::unitsCombo_Click() {
    setUnitCaptions(unitPosition_);
    typeCombo_Click();
}

// ---- Editing -------------------------------------------------------------------------------

void PropertyPanel::onCellMoved(int row, int column, int newRow, int newColumn) {
    if (rebuilding_) {
        return;
    }
    if (row >= 0) {
        VSFlexGrid1_LeaveCell(clsFlexGrid::GridRow(row), column);
    }
    if (newRow >= 0 && newColumn == kValueColumn) {
        startEditing(newRow);
    }
}

void PropertyPanel::startEditing(int tableRow) {
    if (QTableWidgetItem* item = grid_->item(tableRow, kValueColumn)) {
        grid_->editItem(item);
    }
}

// Also a key or a double click on the current value cell, after a save or Enter had
// closed its editor: what is typed then is an entry as well.
void PropertyPanel::onEditorOpened(int tableRow, int column) {
    const QTableWidgetItem* item = grid_->item(tableRow, column);
    if (rebuilding_ || column != kValueColumn || item == nullptr) {
        return;
    }
    if (gridEdited_ && editRow_ == tableRow) {
        return;  // the same entry goes on
    }
    gridEdited_ = true;
    editRow_ = tableRow;
    editStartText_ = item->text();
}

QString PropertyPanel::cellText(int gridRow, int column) const {
    const QTableWidgetItem* item = grid_->item(clsFlexGrid::TableRow(gridRow), column);
    return item != nullptr ? item->text() : QString();
}

void PropertyPanel::VSFlexGrid1_LeaveCell(int gridRow, int column) {
    // Only value cells hold entries; the other columns are never stored.
    if (!gridEdited_ || column != kValueColumn || gridRow < 1) {
        return;
    }
    const QString text = cellText(gridRow, column);
    const int tableRow = clsFlexGrid::TableRow(gridRow);
    if (tableRow == editRow_ && text == editStartText_) {
        gridEdited_ = false;  // left as shown: the shown digits are no entry
        return;
    }
    QTableWidgetItem* item = grid_->item(tableRow, column);
    const std::string entry = toLibraryText(text);
    const PropertySlot slot = ResolveRow(typePosition_, gridRow);
    switch (JudgeGridEntry(entry, toLibraryText(cellText(gridRow, kPropertyColumn)), Numbers(),
                           slot, UnitSystemAtPosition(unitPosition_))) {
        case GridEntry::Empty:
            gridEdited_ = false;
            return;
        case GridEntry::NotANumber:
            item->setText(QString());
            return;
        case GridEntry::ForbiddenNegative:
            prompts_.Message(std::string(kPositiveValueMessage), MessageButtons::Ok,
                             MessageIcon::None);
            item->setText(QString());
            return;
        case GridEntry::TooLarge:
            prompts_.Message(std::string(kValueTooLargeMessage), MessageButtons::Ok,
                             MessageIcon::Exclamation);
            item->setText(QString());
            return;
        case GridEntry::Number:
            library_.EnterGridValue(gridRow, entry);
            clsFlexGrid::FitColumns(*grid_);
            gridEdited_ = false;
            editRow_ = tableRow;
            editStartText_ = text;  // stored: leaving it again stores nothing more
            return;
    }
}

void PropertyPanel::endGridEdit() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    grid_->commitOpenEditor();
    VSFlexGrid1_LeaveCell(clsFlexGrid::GridRow(current.row()), current.column());
}

void PropertyPanel::dropGridEdit() {
    grid_->dropOpenEditor();
    gridEdited_ = false;
    editRow_ = -1;
}

void PropertyPanel::VSFlexGrid1_LostFocus() {
    if (grid_->rowCount() > 0) {
        grid_->setCurrentCell(clsFlexGrid::TableRow(1), kDescriptionColumn);
    }
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
        endGridEdit();
    }
    if (inGrid(old) && !inGrid(now)) {
        VSFlexGrid1_LostFocus();
    }
}

// ---- FlexGridHost --------------------------------------------------------------------------

const clsMaterial* PropertyPanel::CurrentMaterial() const {
    return library_.MaterialAt(library_.SelectedMaterialPosition());
}

const NumberParser& PropertyPanel::Numbers() const {
    return library_.Numbers();
}

}  // namespace material
