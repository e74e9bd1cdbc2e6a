// MDIForm1: the main frame of the material browser (Qt), an MDI workspace that hosts the one
// library window, with the toolbar, the animated status bar, the frame's own menus, help and the
// about box. Library actions go to FrameCommands; the frame keeps no library data.
#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "AboutForm.h"
#include "app/StatusAnimation.h"
#include "ui/platform/HelpViewer.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;

namespace material {

class FrameCommands;

class MainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // Without a help viewer the system's own is used.
    explicit MainFrame(FrameCommands& commands, std::unique_ptr<HelpViewer> helpViewer = nullptr,
                       QWidget* parent = nullptr);
    ~MainFrame() override;

    // The workspace that holds the library window.
    QMdiArea* workspace() const { return workspace_; }

    // The library window enables "save" and "deleteMaterial" when it loads and disables
    // them when it has unloaded.
    void setLibraryButtonsEnabled(bool enabled);

    // While a library window is open its menus take the place of the frame's; an empty
    // list (or showFrameMenus) brings the frame's menus back.
    void showMenus(const QList<QMenu*>& menus);
    void showFrameMenus();

    // Picture id shown in the status bar's panel (102 to 112), 0 before the first one.
    int shownAnimationFrame() const { return shownFrame_; }

    // The about box while it exists, else null.
    AboutForm* aboutForm() const { return aboutForm_; }

  public slots:
    // Show the bar if it is hidden, hide it if it is shown. Returns whether it is shown now,
    // which is the tick the View menu item should carry.
    bool toggleToolbar();
    bool toggleStatusBar();

    // Toolbar1: one handler for every button, by key. Separators and unknown keys do nothing.
    void onToolbarButton(const QString& key);

    // Timer1: advances the status bar's animation by one picture step.
    void onTimerTick();

    // Help from the program's folder (toolbar "help" and the library window's Help Topics).
    void showFolderHelp();
    // Help from the "korvexm" installation variable (the frame's Help Topics).
    void showInstallationHelp();
    // One about box at a time: shows it, or brings the open one forward.
    void showAboutBox();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The bars are switched from the View menu only, so no context menu toggles them.
    QMenu* createPopupMenu() override { return nullptr; }

  private:
    void placeOnScreen();
    void fillImageList();
    void buildToolbar();
    void buildStatusBar();
    void buildMenus();
    QAction* addToolbarButton(const QString& key, const QString& tooltip);
    void addToolbarSeparator(const QString& key);
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = {});

    FrameCommands& commands_;
    std::unique_ptr<HelpViewer> helpViewer_;
    StatusAnimation animation_;
    int shownFrame_ = 0;

    QMdiArea* workspace_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* animationPanel_ = nullptr;
    QTimer* timer_ = nullptr;
    QHash<QString, QIcon> imageList_;
    QList<QMenu*> frameMenus_;
    QPointer<AboutForm> aboutForm_;
};

}  // namespace material
