#include "MainWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "Version.h"

namespace sysreport {

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      supportAddress_(kDefaultSupportAddress),
      uptime_(uptimeFromMilliseconds(services_.clock.uptimeMilliseconds())),
      commands_([this] { return buildReport(); }, services_.prompts, services_.locations) {
    setObjectName("frmSysInformation");
    setWindowTitle(QString::fromStdString(versionCaption()));
    buildMenus();
    buildControls();
    // The label keeps the uptime of start-up; the report computes its own.
    lblComputerRunning_->setText(QString::fromStdString(uptimeSentence(uptime_)));
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("mniFile");
    mnuSave_ = file->addAction(tr("View/&Save to a file"), this, &MainWindow::cmdSaveToFile_Click);
    mnuSave_->setObjectName("mnuSave");
    file->addSeparator();
    mnuExit_ = file->addAction(tr("E&xit"), this, &QWidget::close);
    mnuExit_->setObjectName("mnuExit");
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    lblComputerRunning_ = new QLabel(tr("System Running"), central);
    lblComputerRunning_->setObjectName("lblComputerRunning");
    layout->addWidget(lblComputerRunning_);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    cmdSaveToFile_ = new QPushButton(tr("View/&Save to a file"), central);
    cmdSaveToFile_->setObjectName("cmdSaveToFile");
    connect(cmdSaveToFile_, &QPushButton::clicked, this, &MainWindow::cmdSaveToFile_Click);
    cmdExit_ = new QPushButton(tr("E&xit"), central);
    cmdExit_->setObjectName("cmdExit");
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(cmdSaveToFile_);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit_);
    layout->addLayout(buttons);

    setCentralWidget(central);
    resize(520, 240);
}

ScreenFacts MainWindow::screenFacts() const {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
    return ScreenFacts{pixels.width(), pixels.height(), screen->depth()};
}

std::string MainWindow::buildReport() {
    ReportWriter writer({services_.facts, services_.clock, services_.registry, services_.cadHost,
                         services_.prompts},
                        services_.locations.programFolder, screenFacts());
    return writer.build();
}

std::string MainWindow::writeToFile() {
    return commands_.writeToFile();
}

void MainWindow::cmdSaveToFile_Click() {
    commands_.viewSave();
}

}  // namespace sysreport
