// BaseForm: the library window (Qt), the MDI child that shows the one open library. On the left the
// tree of categories and materials, on the right the material panel with the category,
// name and description fields and the panel's commands; its menu bar takes the frame's
// place while it is open. Library changes go to LibraryController and LibraryEditor; the tree
// mirrors LibraryController's tree model.
#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/LibraryWindowController.h"
#include "data/library/LibraryTree.h"
#include "units/PanelTables.h"

class QAction;
class QLineEdit;
class QMenu;
class QMdiSubWindow;
class QPushButton;
class QTreeWidgetItem;

namespace material {

class MaterialFilter;
class LibraryTreeView;
class MainFrame;
class LibraryController;
class PropertyPanel;

class LibraryWindowWidget : public QWidget, public TreeListener, private LibraryWindowView {
    Q_OBJECT

  public:
    LibraryWindowWidget(LibraryController& library, LibraryEditor& editor, MainFrame& frame,
                        QWidget* parent = nullptr);
    ~LibraryWindowWidget() override;

    LibraryWindowController& controller() { return controller_; }

    // Called once the window has unloaded (the widget itself is deleted later).
    void setUnloadedHandler(std::function<void()> handler) {
        controller_.setUnloadedHandler(std::move(handler));
    }
    // Closes the window without asking: the library is closed already.
    void unload() { controller_.unload(); }
    QMdiSubWindow* subWindow() const;
    QList<QMenu*> menus() const { return menus_; }
    QMenu* editMenu() const { return editMenu_; }

    // ---- What the library operations ask of the window ----
    // The unit and type lists and the panel tables are kept here for the property
    // panel, which shows them.
    void loadTreeImage(const QString& key, const QString& resource);
    void clearTreeImages() { treeImages_.clear(); }
    void showTree();
    void setPanelTexts(const QString& category, const QString& name, const QString& description);
    void showValuePanel(bool shown);
    void hidePanelCommands();
    void setPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                            const std::array<double, kPanelFactorCount>& siPerIps,
                            const std::array<double, kPanelFactorCount>& mksPerIps);
    void fillUnitList(const std::vector<std::string>& texts);
    void fillTypeList(const std::vector<std::string>& texts);
    int unitListPosition() const;
    int typeListPosition() const;
    void selectUnitListPosition(int position);
    const std::string& shownUnitSystem() const;
    // The modified mark of the caption and the state of Undo and Redo.
    void showEditState(bool modified, bool canUndo, bool canRedo);

    // The model-type and unit lists with the property grid.
    PropertyPanel* propertyPanel() const { return panel_; }

    // ---- Handlers ----
    // A node was clicked (or selected by the library operations).
    void TreeView1_NodeClick(const std::string& key) { controller_.TreeView1_NodeClick(key); }
    // "&Add New Material", Edit "&New", "&Reset" and "&Clear" with the fields' texts.
    void onNewMaterial();
    void onEditNewMaterial();
    void onMaterialSet();
    void onClearValues() { controller_.onClearValues(); }
    void onCopyMaterial() { controller_.onCopyMaterial(); }
    void onPasteMaterial() { controller_.onPasteMaterial(); }
    // The panel refresh.
    void typeCombo_Click() { controller_.typeCombo_Click(); }
    int CurrentMaterial(bool fromTree) const { return controller_.CurrentMaterial(fromTree); }
    // A finished label edit of node `key`.
    void onLabelEdited(const std::string& key, const QString& text);
    // The tree shows what the filter field's text lets through.
    void applyFilter();
    // Ctrl+F: the focus goes to the filter field.
    void focusFilter();

    // Whether the panel is in new-material mode ("&Add New Material" offered).
    bool newMaterialMode() const { return controller_.newMaterialMode(); }
    // The position of the material the panel shows, "-1" for a category.
    QString currentMaterialIndex() const {
        return QString::fromStdString(controller_.currentMaterialIndex());
    }

    // ---- TreeListener ----
    void TreeRebuilt() override;
    void NodeAdded(const LibraryNode& node) override;
    void NodeRemoved(const std::string& key) override;
    void NodeChanged(const LibraryNode& node) override;
    void SelectionChanged(const LibraryNode* node) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = {});

    QTreeWidgetItem* itemFor(const std::string& key) const;
    QTreeWidgetItem* addItem(const LibraryNode& node);
    void applyNode(QTreeWidgetItem* item, const LibraryNode& node);
    void onCurrentItemChanged(QTreeWidgetItem* current);

    void fieldEntered(QLineEdit* field);
    void fieldLeft(QLineEdit* field);
    PanelField fieldRole(const QLineEdit* field) const;
    // A field's text was typed: a character the library cannot hold is refused and the
    // field takes back its last text.
    void fieldEdited(QLineEdit* field, const QString& text);
    void setTabOrder();
    void filterItem(QTreeWidgetItem* category, const MaterialFilter& filter);

    // ---- LibraryWindowView ----
    void SetPanelTexts(const std::string& category, const std::string& name,
                       const std::string& description) override;
    void ShowNewMaterialMode(bool on) override;
    void ReturnFocus(PanelField field) override;
    void ShowTree() override;
    void CloseWindow() override;
    void ShowLibraryInFrame(bool open) override;
    void CloseFrame() override;

    LibraryController& library_;
    LibraryEditor& editor_;
    MainFrame& frame_;
    int syncing_ = 0;
    bool refocusing_ = false;  // a refused field is taking the focus back

    LibraryTreeView* tree_ = nullptr;
    QLineEdit* materialTypeText_ = nullptr;
    QLineEdit* materialNameText_ = nullptr;
    QLineEdit* descriptionText_ = nullptr;
    QLineEdit* filterText_ = nullptr;
    QHash<QLineEdit*, QString> keptTexts_;  // each field's last text the library can hold
    QPushButton* cmdNewMaterial_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* addSet_ = nullptr;
    QWidget* propertyArea_ = nullptr;
    PropertyPanel* panel_ = nullptr;
    QList<QMenu*> menus_;
    QMenu* editMenu_ = nullptr;
    QAction* toolbarItem_ = nullptr;
    QAction* statusbarItem_ = nullptr;
    QAction* undoItem_ = nullptr;
    QAction* redoItem_ = nullptr;

    QHash<QString, QIcon> treeImages_;
    QHash<QByteArray, QTreeWidgetItem*> items_;

    std::array<PanelLabelRow, kPanelRowCount> panelLabels_{};
    std::array<double, kPanelFactorCount> panelSiPerIps_{};
    std::array<double, kPanelFactorCount> panelMksPerIps_{};
    LibraryWindowController controller_;
};

}  // namespace material
