#include "MainWindow.h"

#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "AboutBox.h"
#include "ChangeDefaultDialog.h"
#include "OpenGlProbe.h"
#include "WindowTexts.h"

namespace sysreport {
namespace {

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* namedButton(const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    return button;
}

QString qText(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), behaviour_(std::move(services), *this) {
    setObjectName("frmSysInformation");
    setWindowTitle(QString::fromStdString(behaviour_.caption()));
    buildMenus();
    buildControls();
    lblComputerRunning_->setText(QString::fromStdString(behaviour_.uptimeText()));
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(qText(texts::kFileMenu));
    file->setObjectName("mniFile");
    file->addAction(qText(texts::kSaveItem), this, &MainWindow::cmdSaveToFile_Click)
        ->setObjectName("mnuSave");
    file->addAction(qText(texts::kEmailItem), this, &MainWindow::cmdSentEmail_Click)
        ->setObjectName("mnuEmail");
    file->addAction(qText(texts::kExitItem), this, &QWidget::close)->setObjectName("mnuExit");

    QMenu* tools = menuBar()->addMenu(qText(texts::kToolsMenu));
    tools->setObjectName("mnuTools");
    tools->addAction(qText(texts::kChangeDefaultItem), this, &MainWindow::mnuChangeDefault_Click)
        ->setObjectName("mnuChangeDefault");

    QMenu* help = menuBar()->addMenu(qText(texts::kHelpMenu));
    help->setObjectName("mnuHelp");
    help->addAction(qText(texts::kAboutItem), this, &MainWindow::mnuSysInfo_Click)
        ->setObjectName("mnuSysInfo");
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    // The instructions below speak of "the above field".
    auto* addressRow = new QHBoxLayout;
    QLabel* emailTo = namedLabel("lblEmailTo", qText(texts::kEmailToLabel), central);
    txtEmailTo_ = new QLineEdit(QString::fromStdString(MainBehaviour::defaultAddress()), central);
    txtEmailTo_->setObjectName("txtEmailTo");
    emailTo->setBuddy(txtEmailTo_);
    addressRow->addWidget(emailTo);
    addressRow->addWidget(txtEmailTo_, 1);
    layout->addLayout(addressRow);

    QLabel* instructions = namedLabel("Label1", qText(texts::kInstructionsLabel), central);
    QFont bold = instructions->font();
    bold.setBold(true);
    instructions->setFont(bold);
    layout->addWidget(instructions);
    QLabel* explanation = namedLabel("Label2", qText(texts::kInstructions), central);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* buttons = new QHBoxLayout;
    QPushButton* save = namedButton("cmdSaveToFile", texts::kSaveButton, central);
    connect(save, &QPushButton::clicked, this, &MainWindow::cmdSaveToFile_Click);
    QPushButton* email = namedButton("cmdSentEmail", texts::kEmailButton, central);
    connect(email, &QPushButton::clicked, this, &MainWindow::cmdSentEmail_Click);
    QPushButton* exit = namedButton("cmdExit", texts::kExitButton, central);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(save);
    buttons->addWidget(email);
    buttons->addStretch(1);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    layout->addStretch(1);
    lblComputerRunning_ = namedLabel("lblComputerRunning", qText(texts::kSystemRunning), central);
    layout->addWidget(lblComputerRunning_);

    setCentralWidget(central);
    resize(560, 200);
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

OpenGlFacts MainWindow::openGlFacts() const {
    return probeOpenGl();
}

void MainWindow::cmdSaveToFile_Click() {
    behaviour_.viewSave();
}

void MainWindow::cmdSentEmail_Click() {
    behaviour_.emailReport();
}

std::string MainWindow::emailField() const {
    return txtEmailTo_->text().toStdString();
}

void MainWindow::setEmailField(const std::string& text) {
    txtEmailTo_->setText(QString::fromStdString(text));
}

void MainWindow::mnuChangeDefault_Click() {
    if (changeDefault_ == nullptr) {
        changeDefault_ = new ChangeDefaultDialog(this);
        changeDefault_->setAttribute(Qt::WA_DeleteOnClose);
        connect(changeDefault_, &ChangeDefaultDialog::okClicked, this,
                [this](const QString& typed) { behaviour_.changeDefaultOk(typed.toStdString()); });
        connect(changeDefault_, &ChangeDefaultDialog::cancelClicked, this,
                [this] { behaviour_.changeDefaultCancel(); });
    }
    changeDefault_->show();
    changeDefault_->raise();
    changeDefault_->activateWindow();
}

void MainWindow::mnuSysInfo_Click() {
    AboutBox about(behaviour_.services().systemInfo, behaviour_.services().prompts, this);
    about.exec();
}

}  // namespace sysreport
