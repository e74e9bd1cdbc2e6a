#include "MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "AboutForm.h"
#include "PlatformHelpViewer.h"
#include "Resources.h"
#include "app/FrameCommands.h"
#include "app/FrameRules.h"
#include "ui/platform/HelpPaths.h"

namespace material {

namespace {

constexpr int kTimerIntervalMs = 500;
constexpr int kAnimationPanelSize = 20;

// Image list keys and the picture each comes from, in the order they are added.
struct ImageSource {
    const char* key;
    const char* resource;
    bool isBitmap;
};
constexpr ImageSource kToolbarImages[] = {
    {"new", "NEW", true},        {"open", "OPEN", false}, {"save", "SAVE", false},
    {"delete", "DELETE", false}, {"help", "HELP", false},
};

std::string programFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace

MainFrame::MainFrame(FrameCommands& commands, std::unique_ptr<HelpViewer> helpViewer,
                     QWidget* parent)
    : QMainWindow(parent),
      commands_(commands),
      helpViewer_(helpViewer ? std::move(helpViewer) : createPlatformHelpViewer()) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Korvex/M Material Browser"));
    setWindowIcon(resources::icon(QStringLiteral("CLOSEDBOOK")));

    workspace_ = new QMdiArea(this);
    workspace_->setObjectName(QStringLiteral("workspace"));
    workspace_->setBackground(QColor(128, 128, 128));
    setCentralWidget(workspace_);

    placeOnScreen();
    fillImageList();
    buildToolbar();
    buildStatusBar();
    buildMenus();
    setLibraryButtonsEnabled(false);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTimerIntervalMs);
    connect(timer_, &QTimer::timeout, this, &MainFrame::onTimerTick);
    timer_->start();
}

MainFrame::~MainFrame() {
    delete aboutForm_.data();  // ownerless, so nobody else deletes it
}

void MainFrame::placeOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const auto rect = [](const QRect& r) {
        return ScreenRect{r.x(), r.y(), r.width(), r.height()};
    };
    const ScreenRect place =
        FramePlacement(rect(screen->geometry()), rect(screen->availableGeometry()),
                       screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
    resize(place.width, place.height);
    move(place.x, place.y);
}

void MainFrame::fillImageList() {
    for (const ImageSource& image : kToolbarImages) {
        const QString resource = QLatin1String(image.resource);
        imageList_.insert(QLatin1String(image.key), image.isBitmap
                                                        ? QIcon(resources::bitmap(resource))
                                                        : resources::icon(resource));
    }
}

QAction* MainFrame::addToolbarButton(const QString& key, const QString& tooltip) {
    QAction* button = toolbar_->addAction(tooltip);
    button->setObjectName(key);
    button->setToolTip(tooltip);
    return button;
}

void MainFrame::addToolbarSeparator(const QString& key) {
    toolbar_->addSeparator()->setObjectName(key);
}

void MainFrame::buildToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Toolbar1"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, toolbar_);

    addToolbarSeparator(QStringLiteral("separator"));
    addToolbarButton(QStringLiteral("new"), QStringLiteral("Open new file"));
    addToolbarButton(QStringLiteral("open"), QStringLiteral("Open existing file"));
    addToolbarButton(QStringLiteral("save"), QStringLiteral("Save file"));
    addToolbarSeparator(QString());
    addToolbarButton(QStringLiteral("deleteMaterial"),
                     QStringLiteral("Delete the selected material"));
    addToolbarSeparator(QStringLiteral("separator2"));
    addToolbarButton(QStringLiteral("help"), QStringLiteral("Help"));

    const std::pair<const char*, const char*> images[] = {
        {"new", "new"},   {"open", "open"}, {"save", "save"}, {"deleteMaterial", "delete"},
        {"help", "help"},
    };
    for (const auto& [button, image] : images) {
        toolbar_->findChild<QAction*>(QLatin1String(button))
            ->setIcon(imageList_.value(QLatin1String(image)));
    }

    connect(toolbar_, &QToolBar::actionTriggered, this,
            [this](QAction* button) { onToolbarButton(button->objectName()); });
}

void MainFrame::buildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(true);
    animationPanel_ = new QLabel(statusBar_);
    animationPanel_->setObjectName(QStringLiteral("panel1"));
    animationPanel_->setMinimumHeight(kAnimationPanelSize + 2);
    animationPanel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusBar_->addWidget(animationPanel_, 1);
    setStatusBar(statusBar_);
}

QAction* MainFrame::addMenuItem(QMenu* menu, const char* name, const QString& caption,
                                const QKeySequence& shortcut) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

void MainFrame::buildMenus() {
    auto* fileMenu = new QMenu(QStringLiteral("&File"), this);
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    QAction* newItem = addMenuItem(fileMenu, "fileNewMenu", QStringLiteral("&New   "));
    QAction* openItem = addMenuItem(fileMenu, "fileOpenMenu", QStringLiteral("&Open...   "),
                                    QKeySequence(Qt::CTRL | Qt::Key_O));
    fileMenu->addSeparator()->setObjectName(QStringLiteral("separatorMenu"));
    QAction* exitItem = addMenuItem(fileMenu, "fileExitMenu", QStringLiteral("E&xit   "));

    auto* helpMenu = new QMenu(QStringLiteral("&Help"), this);
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    QAction* topicsItem = addMenuItem(helpMenu, "aboutMaterial", QStringLiteral("&Help Topics"),
                                      QKeySequence(Qt::Key_F1));
    QAction* aboutItem =
        addMenuItem(helpMenu, "aboutMaterialMenu", QStringLiteral("&About Material Browser"));

    connect(newItem, &QAction::triggered, this, [this] { commands_.newLibrary(); });
    connect(openItem, &QAction::triggered, this, [this] { commands_.openLibrary(); });
    // Reachable only while no library window is open, so nothing is left unsaved.
    connect(exitItem, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(topicsItem, &QAction::triggered, this, &MainFrame::showInstallationHelp);
    connect(aboutItem, &QAction::triggered, this, &MainFrame::showAboutBox);

    frameMenus_ = {fileMenu, helpMenu};
    showFrameMenus();
}

void MainFrame::showMenus(const QList<QMenu*>& menus) {
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* menu : menus.isEmpty() ? frameMenus_ : menus) {
        bar->addMenu(menu);
    }
}

void MainFrame::showFrameMenus() {
    showMenus({});
}

void MainFrame::setLibraryButtonsEnabled(bool enabled) {
    for (const char* key : {"save", "deleteMaterial"}) {
        toolbar_->findChild<QAction*>(QLatin1String(key))->setEnabled(enabled);
    }
}

bool MainFrame::toggleToolbar() {
    // By the bar's own state, not by any menu tick.
    toolbar_->setHidden(!toolbar_->isHidden());
    return !toolbar_->isHidden();
}

bool MainFrame::toggleStatusBar() {
    statusBar_->setHidden(!statusBar_->isHidden());
    return !statusBar_->isHidden();
}

void MainFrame::onToolbarButton(const QString& key) {
    if (key == QLatin1String("new")) {
        commands_.newLibrary();
    } else if (key == QLatin1String("open")) {
        commands_.openLibrary();
    } else if (key == QLatin1String("save")) {
        SaveFromToolbar(commands_);
    } else if (key == QLatin1String("deleteMaterial")) {
        commands_.deleteMaterial();
    } else if (key == QLatin1String("help")) {
        showFolderHelp();
    }
}

void MainFrame::onTimerTick() {
    const int picture = animation_.tick();
    if (picture == 0) {
        return;
    }
    shownFrame_ = picture;
    animationPanel_->setPixmap(resources::bitmap(picture).scaled(
        kAnimationPanelSize, kAnimationPanelSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void MainFrame::showFolderHelp() {
    helpViewer_->displayHelpFile(folderHelpPath(programFolder()));
}

void MainFrame::showInstallationHelp() {
    const QString installation = qEnvironmentVariable(kInstallationVariable);
    helpViewer_->displayHelpFile(installationHelpPath(installation.toStdString()));
}

void MainFrame::showAboutBox() {
    if (aboutForm_.isNull()) {
        aboutForm_ = new AboutForm();
    }
    aboutForm_->show();
    aboutForm_->raise();
    aboutForm_->activateWindow();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (!commands_.closeLibraryWindow()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace material
