#include "LibraryWindowWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "LibraryTreeView.h"
#include "MainFrame.h"
#include "PropertyPanel.h"
#include "Resources.h"
#include "TextCodec.h"
#include "app/LibraryEditor.h"
#include "app/TreeFilter.h"
#include "data/library/LibraryController.h"
#include "units/UnitSystems.h"

namespace material {

namespace {

QByteArray keyBytes(const std::string& key) {
    return QByteArray::fromStdString(key);
}

// Holds back the tree's own signals while the window changes the tree.
class Syncing {
  public:
    explicit Syncing(int& depth) : depth_(depth) { ++depth_; }
    ~Syncing() { --depth_; }
    Syncing(const Syncing&) = delete;
    Syncing& operator=(const Syncing&) = delete;

  private:
    int& depth_;
};

QLineEdit* addField(QGridLayout* grid, int row, const char* name, const QString& label,
                    QWidget* parent) {
    auto* caption = new QLabel(label, parent);
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

QPushButton* addButton(QHBoxLayout* row, const char* name, const QString& caption,
                       QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    row->addWidget(button);
    return button;
}

}  // namespace

LibraryWindowWidget::LibraryWindowWidget(LibraryController& library, LibraryEditor& editor,
                                         MainFrame& frame, QWidget* parent)
    : QWidget(parent),
      library_(library),
      editor_(editor),
      frame_(frame),
      panel_(new PropertyPanel(library, editor.Prompts(), this)),
      controller_(library, editor, panel_->controller(), *this) {
    setObjectName(QStringLiteral("BaseForm"));
    setWindowIcon(resources::icon(QStringLiteral("CLOSEDBOOK")));
    buildControls();
    buildMenus();

    frame_.setLibraryButtonsEnabled(true);
    tree_->hide();  // shown once the library operations have filled it
    frame_.showMenus(menus_);
    toolbarItem_->setChecked(true);
    statusbarItem_->setChecked(true);
}

LibraryWindowWidget::~LibraryWindowWidget() {
    if (!controller_.unloaded()) {
        library_.Tree().SetListener(nullptr);
    }
}

// ---- Controls and menus ----------------------------------------------------------------

void LibraryWindowWidget::buildControls() {
    auto* treeSide = new QWidget(this);
    auto* treeLayout = new QVBoxLayout(treeSide);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    filterText_ = new QLineEdit(treeSide);
    filterText_->setObjectName(QStringLiteral("filterText"));
    filterText_->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
    filterText_->setClearButtonEnabled(true);
    tree_ = new LibraryTreeView(treeSide);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    treeLayout->addWidget(filterText_);
    treeLayout->addWidget(tree_, 1);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("materialPanel"));
    auto* grid = new QGridLayout(panel);
    materialTypeText_ =
        addField(grid, 0, "materialTypeText", QStringLiteral("Category     :"), panel);
    materialNameText_ = addField(grid, 1, "materialNameText", QStringLiteral("Name :"), panel);
    descriptionText_ = addField(grid, 2, "descriptionText", QStringLiteral("Description :"), panel);
    // The file keeps 50 characters of a description; more would be lost on saving.
    descriptionText_->setMaxLength(static_cast<int>(kDescriptionFieldLimit));

    // Place of the property panel: model type and unit lists and the property grid.
    auto* propertyArea = new QFrame(panel);
    propertyArea->setObjectName(QStringLiteral("propertyPanelArea"));
    propertyArea->setFrameShape(QFrame::StyledPanel);
    propertyArea->setMinimumSize(360, 240);
    propertyArea_ = propertyArea;
    auto* propertyLayout = new QVBoxLayout(propertyArea);
    propertyLayout->setContentsMargins(6, 6, 6, 6);
    panel_->setParent(propertyArea);
    propertyLayout->addWidget(panel_);
    grid->addWidget(propertyArea_, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);

    auto* commands = new QHBoxLayout;
    cmdNewMaterial_ =
        addButton(commands, "cmdNewMaterial", QStringLiteral("&Add New Material"), panel);
    reset_ = addButton(commands, "reset", QStringLiteral("&Reset"), panel);
    addSet_ = addButton(commands, "AddSet", QStringLiteral("&Clear"), panel);
    commands->addStretch(1);
    grid->addLayout(commands, 4, 0, 1, 2);
    cmdNewMaterial_->hide();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(treeSide);
    splitter->addWidget(panel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    tree_->setMinimumWidth(200);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    for (QLineEdit* field : {materialTypeText_, materialNameText_, descriptionText_}) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, [this, field](const QString& text) {
            if (encodeLibraryText(text).complete()) {
                keptTexts_.insert(field, text);
            }
        });
        connect(field, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { fieldEdited(field, text); });
    }
    filterText_->installEventFilter(this);
    connect(filterText_, &QLineEdit::textChanged, this, &LibraryWindowWidget::applyFilter);
    connect(tree_, &LibraryTreeView::currentClicked, this,
            [this](const QByteArray& key) { TreeView1_NodeClick(key.toStdString()); });
    connect(tree_, &LibraryTreeView::deletePressed, this, [this] { library_.DeleteMaterial(); });
    setTabOrder();
    // Stored as typed as well as on leaving: a save by shortcut or toolbar leaves the
    // focus where it is, and the description would be missing from the file.
    connect(descriptionText_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const EncodedText typed = encodeLibraryText(text);
        if (typed.complete()) {
            controller_.storeDescription(typed.bytes);
        }
    });
    connect(cmdNewMaterial_, &QPushButton::clicked, this, &LibraryWindowWidget::onNewMaterial);
    connect(reset_, &QPushButton::clicked, this, &LibraryWindowWidget::onMaterialSet);
    connect(addSet_, &QPushButton::clicked, this, &LibraryWindowWidget::onClearValues);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentItemChanged(current); });
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        library_.Tree().SetExpanded(LibraryTreeView::keyOf(item).toStdString(), true);
    });
    connect(tree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        library_.Tree().SetExpanded(LibraryTreeView::keyOf(item).toStdString(), false);
    });
    connect(tree_, &LibraryTreeView::labelEdited, this,
            [this](const QByteArray& key, const QString& text) {
                onLabelEdited(key.toStdString(), text);
            });
    connect(tree_, &LibraryTreeView::dragStarted, this,
            [this](const QByteArray& key) { library_.SetDragSourceKey(key.toStdString()); });
    connect(tree_, &LibraryTreeView::dropped, this,
            [this](const QByteArray& source, const QByteArray& target) {
                controller_.onDrop(source.toStdString(), target.toStdString());
            });
    connect(tree_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { editMenu_->popup(tree_->viewport()->mapToGlobal(at)); });
}

QAction* LibraryWindowWidget::addMenuItem(QMenu* menu, const char* name, const QString& caption,
                                          const QKeySequence& shortcut) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

void LibraryWindowWidget::buildMenus() {
    auto* file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("windowFileMenu"));
    QAction* newItem = addMenuItem(file, "fileNewMenu", QStringLiteral("&New"));
    QAction* openItem = addMenuItem(file, "fileOpenMenu", QStringLiteral("&Open..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* closeItem = addMenuItem(file, "fileCloseMenu", QStringLiteral("&Close"));
    file->addSeparator()->setObjectName(QStringLiteral("separatorMenu"));
    QAction* saveItem =
        addMenuItem(file, "saveMenu", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* saveAsItem = addMenuItem(file, "saveAsMenu", QStringLiteral("Save &As..."),
                                      QKeySequence(Qt::CTRL | Qt::Key_A));
    file->addSeparator()->setObjectName(QStringLiteral("separator1"));
    QAction* exitItem = addMenuItem(file, "fileExitMenu", QStringLiteral("E&xit"));

    editMenu_ = new QMenu(QStringLiteral("&Edit"), this);
    editMenu_->setObjectName(QStringLiteral("windowEditMenu"));
    QAction* newMaterial = addMenuItem(editMenu_, "newMaterial", QStringLiteral("&New"));
    // "&Clear" and "&Reset" act on the property panel's values.
    QAction* clearItem = addMenuItem(editMenu_, "set", QStringLiteral("&Clear"));
    QAction* resetItem = addMenuItem(editMenu_, "resetMenu", QStringLiteral("&Reset"));
    QAction* deleteItem = addMenuItem(editMenu_, "delete", QStringLiteral("&Delete "));
    QAction* copyItem = addMenuItem(editMenu_, "copyMaterial", QStringLiteral("&Copy"),
                                    QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* pasteItem = addMenuItem(editMenu_, "pasteMaterial", QStringLiteral("&Paste"),
                                     QKeySequence(Qt::CTRL | Qt::Key_V));
    editMenu_->addSeparator()->setObjectName(QStringLiteral("separatorUndo"));
    undoItem_ = addMenuItem(editMenu_, "undoMenu", QStringLiteral("&Undo"),
                            QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoItem_ = addMenuItem(editMenu_, "redoMenu", QStringLiteral("R&edo"),
                            QKeySequence(Qt::CTRL | Qt::Key_Y));
    undoItem_->setEnabled(false);
    redoItem_->setEnabled(false);
    auto* findItem = new QAction(this);
    findItem->setObjectName(QStringLiteral("findShortcut"));
    findItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findItem->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(findItem);
    connect(findItem, &QAction::triggered, this, &LibraryWindowWidget::focusFilter);

    auto* view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("windowViewMenu"));
    toolbarItem_ = addMenuItem(view, "toolbarMenu", QStringLiteral("&Toolbar"));
    statusbarItem_ = addMenuItem(view, "StatusbarMenu", QStringLiteral("&Statusbar"));
    toolbarItem_->setCheckable(true);
    statusbarItem_->setCheckable(true);

    auto* help = new QMenu(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("windowHelpMenu"));
    QAction* topics = addMenuItem(help, "helpTopicsMenu", QStringLiteral("&Help Topics"),
                                  QKeySequence(Qt::Key_F1));
    QAction* about = addMenuItem(help, "aboutMenu", QStringLiteral("&About Material Browser"));

    connect(newItem, &QAction::triggered, this, [this] { library_.NewLibrary(); });
    connect(openItem, &QAction::triggered, this, [this] { library_.OpenLibrary(); });
    connect(closeItem, &QAction::triggered, this, [this] { library_.CloseLibrary(); });
    connect(saveItem, &QAction::triggered, this, [this] { controller_.onSave(); });
    connect(saveAsItem, &QAction::triggered, this, [this] { library_.SaveAs(); });
    connect(exitItem, &QAction::triggered, this, [this] { controller_.onExit(); });
    connect(newMaterial, &QAction::triggered, this, &LibraryWindowWidget::onEditNewMaterial);
    connect(clearItem, &QAction::triggered, this, &LibraryWindowWidget::onClearValues);
    connect(resetItem, &QAction::triggered, this, &LibraryWindowWidget::onMaterialSet);
    connect(deleteItem, &QAction::triggered, this, [this] { library_.DeleteMaterial(); });
    connect(copyItem, &QAction::triggered, this, &LibraryWindowWidget::onCopyMaterial);
    connect(pasteItem, &QAction::triggered, this, &LibraryWindowWidget::onPasteMaterial);
    connect(undoItem_, &QAction::triggered, this, [this] { library_.Undo(); });
    connect(redoItem_, &QAction::triggered, this, [this] { library_.Redo(); });
    // The tick follows the bar, whatever it showed before.
    connect(toolbarItem_, &QAction::triggered, this,
            [this] { toolbarItem_->setChecked(frame_.toggleToolbar()); });
    connect(statusbarItem_, &QAction::triggered, this,
            [this] { statusbarItem_->setChecked(frame_.toggleStatusBar()); });
    connect(topics, &QAction::triggered, &frame_, &MainFrame::showFolderHelp);
    connect(about, &QAction::triggered, &frame_, &MainFrame::showAboutBox);

    menus_ = {file, editMenu_, view, help};
}

// ---- Life ------------------------------------------------------------------------------

QMdiSubWindow* LibraryWindowWidget::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void LibraryWindowWidget::closeEvent(QCloseEvent* event) {
    if (controller_.closeRequested()) {
        event->accept();
    } else {
        event->ignore();  // the window, the library and a closing frame all stay
    }
}

void LibraryWindowWidget::CloseWindow() {
    if (QMdiSubWindow* sub = subWindow()) {
        sub->close();
    } else {
        close();
    }
}

void LibraryWindowWidget::ShowLibraryInFrame(bool open) {
    frame_.setLibraryButtonsEnabled(open);
    if (open) {
        frame_.showMenus(menus_);
    } else {
        frame_.showFrameMenus();
    }
}

void LibraryWindowWidget::CloseFrame() {
    frame_.close();
}

void LibraryWindowWidget::contextMenuEvent(QContextMenuEvent* event) {
    editMenu_->popup(event->globalPos());
}

// ---- What the library operations ask ------------------------------------------------------

void LibraryWindowWidget::loadTreeImage(const QString& key, const QString& resource) {
    treeImages_.insert(key, QIcon(resources::bitmap(resource)));
    // The tree may have been filled before its images were loaded.
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        const LibraryNode* node = library_.Tree().Find(it.key().toStdString());
        if (node != nullptr && QString::fromStdString(node->image) == key) {
            it.value()->setIcon(0, treeImages_.value(key));
        }
    }
}

void LibraryWindowWidget::showTree() {
    tree_->show();
    tree_->setFocus(Qt::OtherFocusReason);  // a library shown starts in its tree
}

void LibraryWindowWidget::ShowTree() {
    tree_->show();
}

void LibraryWindowWidget::setPanelTexts(const QString& category, const QString& name,
                                        const QString& description) {
    materialTypeText_->setText(category);
    materialNameText_->setText(name);
    descriptionText_->setText(description);
}

void LibraryWindowWidget::SetPanelTexts(const std::string& category, const std::string& name,
                                        const std::string& description) {
    setPanelTexts(fromLibraryText(category), fromLibraryText(name), fromLibraryText(description));
}

void LibraryWindowWidget::showValuePanel(bool shown) {
    propertyArea_->setVisible(shown);
}

void LibraryWindowWidget::hidePanelCommands() {
    cmdNewMaterial_->hide();
    reset_->hide();
    addSet_->hide();
}

void LibraryWindowWidget::setPanelUnitTables(
    const std::array<PanelLabelRow, kPanelRowCount>& labels,
    const std::array<double, kPanelFactorCount>& siPerIps,
    const std::array<double, kPanelFactorCount>& mksPerIps) {
    panelLabels_ = labels;
    panelSiPerIps_ = siPerIps;
    panelMksPerIps_ = mksPerIps;
    panel_->setUnitLabelTable(labels);
}

void LibraryWindowWidget::fillUnitList(const std::vector<std::string>& texts) {
    panel_->fillUnitList(texts);
}

void LibraryWindowWidget::fillTypeList(const std::vector<std::string>& texts) {
    panel_->fillTypeList(texts);
}

int LibraryWindowWidget::unitListPosition() const {
    return panel_->unitListPosition();
}

int LibraryWindowWidget::typeListPosition() const {
    return panel_->typeListPosition();
}

void LibraryWindowWidget::selectUnitListPosition(int position) {
    panel_->selectUnitListPosition(position);
}

const std::string& LibraryWindowWidget::shownUnitSystem() const {
    return panel_->shownUnitSystem();
}

void LibraryWindowWidget::showEditState(bool modified, bool canUndo, bool canRedo) {
    setWindowModified(modified);
    if (QMdiSubWindow* sub = subWindow()) {
        sub->setWindowModified(modified);
    }
    undoItem_->setEnabled(canUndo);
    redoItem_->setEnabled(canRedo);
}

// ---- Filter ------------------------------------------------------------------------------

void LibraryWindowWidget::focusFilter() {
    filterText_->setFocus(Qt::ShortcutFocusReason);
    filterText_->selectAll();
}

void LibraryWindowWidget::applyFilter() {
    const MaterialFilter filter(encodeLibraryText(filterText_->text()));
    tree_->setUpdatesEnabled(false);
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        filterItem(tree_->topLevelItem(i), filter);
    }
    tree_->setUpdatesEnabled(true);
}

void LibraryWindowWidget::filterItem(QTreeWidgetItem* category, const MaterialFilter& filter) {
    std::vector<int> positions;
    for (int c = 0; c < category->childCount(); ++c) {
        positions.push_back(
            editor_.PositionOf(LibraryTreeView::keyOf(category->child(c)).toStdString()));
    }
    const CategoryFiltering result =
        FilterCategory(filter, library_.Content(), LibraryTreeView::keyOf(category).toStdString(),
                       positions, category->isExpanded());
    for (int c = 0; c < category->childCount(); ++c) {
        category->child(c)->setHidden(!result.childShown[static_cast<std::size_t>(c)]);
    }
    category->setHidden(!result.shown);
    if (result.expand) {
        category->setExpanded(true);  // the materials found are in view
    }
}

void LibraryWindowWidget::setTabOrder() {
    // The grid is reached from the tree without passing the Category field, whose
    // focus starts a new material.
    // The filter field comes last: the tree keeps the focus a new window gives, and
    // Ctrl+F reaches the filter from anywhere.
    QWidget* order[] = {tree_,
                        panel_->findChild<QWidget*>(QStringLiteral("typeCombo")),
                        panel_->findChild<QWidget*>(QStringLiteral("unitsCombo")),
                        panel_->grid(),
                        materialTypeText_,
                        materialNameText_,
                        descriptionText_,
                        cmdNewMaterial_,
                        reset_,
                        addSet_,
                        filterText_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

// ---- Tree mirror ---------------------------------------------------------------------------

QTreeWidgetItem* LibraryWindowWidget::itemFor(const std::string& key) const {
    return items_.value(keyBytes(key), nullptr);
}

QTreeWidgetItem* LibraryWindowWidget::addItem(const LibraryNode& node) {
    QTreeWidgetItem* parent = node.isCategory() ? nullptr : itemFor(node.parentKey);
    if (!node.isCategory() && parent == nullptr) {
        return nullptr;
    }
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setData(0, Qt::UserRole, keyBytes(node.key));
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDropEnabled;
    if (!node.isCategory()) {
        flags |= Qt::ItemIsDragEnabled;
    }
    item->setFlags(flags);
    items_.insert(keyBytes(node.key), item);
    applyNode(item, node);
    return item;
}

void LibraryWindowWidget::applyNode(QTreeWidgetItem* item, const LibraryNode& node) {
    item->setText(0, fromLibraryText(node.text));
    item->setIcon(0, treeImages_.value(QString::fromStdString(node.image)));
    if (node.isCategory() && item->isExpanded() != node.expanded) {
        item->setExpanded(node.expanded);
    }
}

void LibraryWindowWidget::TreeRebuilt() {
    Syncing sync(syncing_);
    tree_->clear();
    items_.clear();
    const LibraryTree& model = library_.Tree();
    for (const std::string& categoryKey : model.Roots()) {
        const LibraryNode* category = model.Find(categoryKey);
        if (category == nullptr) {
            continue;
        }
        addItem(*category);
        for (const std::string& childKey : category->children) {
            if (const LibraryNode* child = model.Find(childKey)) {
                addItem(*child);
            }
        }
    }
    SelectionChanged(model.Selected());
    if (!filterText_->text().isEmpty()) {
        applyFilter();
    }
}

void LibraryWindowWidget::NodeAdded(const LibraryNode& node) {
    Syncing sync(syncing_);
    addItem(node);
    if (!filterText_->text().isEmpty()) {
        applyFilter();
    }
}

void LibraryWindowWidget::NodeRemoved(const std::string& key) {
    Syncing sync(syncing_);
    QTreeWidgetItem* item = itemFor(key);
    if (item == nullptr) {
        return;
    }
    items_.remove(keyBytes(key));
    for (int i = 0; i < item->childCount(); ++i) {
        items_.remove(LibraryTreeView::keyOf(item->child(i)));
    }
    delete item;
}

void LibraryWindowWidget::NodeChanged(const LibraryNode& node) {
    if (QTreeWidgetItem* item = itemFor(node.key)) {
        Syncing sync(syncing_);
        applyNode(item, node);
        if (!filterText_->text().isEmpty() && !node.isCategory()) {
            filterItem(item->parent(), MaterialFilter(encodeLibraryText(filterText_->text())));
        }
    }
}

void LibraryWindowWidget::SelectionChanged(const LibraryNode* node) {
    QTreeWidgetItem* item = node == nullptr ? nullptr : itemFor(node->key);
    {
        Syncing sync(syncing_);
        tree_->setCurrentItem(item);
    }
    if (item != nullptr) {
        tree_->scrollToItem(item);  // opens its category, which then shows "openbook"
    }
    controller_.onSelectionChanged(node != nullptr ? &node->key : nullptr,
                                   node != nullptr && node->isCategory());
}

void LibraryWindowWidget::onCurrentItemChanged(QTreeWidgetItem* current) {
    if (syncing_ > 0 || current == nullptr) {
        return;
    }
    const std::string key = LibraryTreeView::keyOf(current).toStdString();
    {
        Syncing sync(syncing_);
        library_.Tree().Select(key);
    }
    TreeView1_NodeClick(key);
}

// ---- New-material mode ---------------------------------------------------------------------

void LibraryWindowWidget::ShowNewMaterialMode(bool on) {
    // Only the grid goes: the model-type and unit lists stay in view.
    panel_->grid()->setVisible(!on);
    cmdNewMaterial_->setVisible(on);
    reset_->setVisible(!on);
    addSet_->setVisible(!on);
}

// ---- Rename, drag and drop ---------------------------------------------------------------------

void LibraryWindowWidget::onLabelEdited(const std::string& key, const QString& text) {
    controller_.onLabelEdited(key, encodeLibraryText(text));
}

// ---- Fields ------------------------------------------------------------------------------------

bool LibraryWindowWidget::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    if (field == filterText_) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            filterText_->clear();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        fieldEntered(field);
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a menu taking the focus for a moment is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !refocusing_) {
            fieldLeft(field);
        }
    }
    return QWidget::eventFilter(watched, event);
}

PanelField LibraryWindowWidget::fieldRole(const QLineEdit* field) const {
    return field == materialTypeText_   ? PanelField::Category
           : field == materialNameText_ ? PanelField::Name
                                        : PanelField::None;
}

void LibraryWindowWidget::fieldEntered(QLineEdit* field) {
    // After the click that gave the focus, which would place the cursor instead.
    QTimer::singleShot(0, field, &QLineEdit::selectAll);
    controller_.fieldEntered(fieldRole(field));
}

void LibraryWindowWidget::fieldLeft(QLineEdit* field) {
    controller_.fieldLeft(fieldRole(field), toLibraryText(field->text()));
}

void LibraryWindowWidget::fieldEdited(QLineEdit* field, const QString& text) {
    if (!controller_.fieldEdited(encodeLibraryText(text))) {
        const int cursor = field->cursorPosition();
        const QString kept = keptTexts_.value(field);
        field->setText(kept);
        field->setCursorPosition(std::min(cursor - 1, static_cast<int>(kept.size())));
    }
}

void LibraryWindowWidget::ReturnFocus(PanelField which) {
    QLineEdit* field = which == PanelField::Category ? materialTypeText_ : materialNameText_;
    // Once the focus change under way has ended. The field this takes the focus from is
    // not checked now: two refused fields would otherwise send it to and fro for ever.
    // It is checked when the user leaves it.
    QTimer::singleShot(0, field, [this, field] {
        refocusing_ = true;
        field->setFocus(Qt::OtherFocusReason);
        refocusing_ = false;
    });
}

// ---- New material ------------------------------------------------------------------------------

void LibraryWindowWidget::onNewMaterial() {
    controller_.onNewMaterial(toLibraryText(materialTypeText_->text()),
                              toLibraryText(materialNameText_->text()),
                              toLibraryText(descriptionText_->text()));
}

void LibraryWindowWidget::onEditNewMaterial() {
    controller_.onEditNewMaterial(toLibraryText(materialTypeText_->text()),
                                  toLibraryText(materialNameText_->text()),
                                  toLibraryText(descriptionText_->text()));
}

void LibraryWindowWidget::onMaterialSet() {
    controller_.onMaterialSet(toLibraryText(materialTypeText_->text()),
                              toLibraryText(materialNameText_->text()),
                              toLibraryText(descriptionText_->text()));
}

}  // namespace material
