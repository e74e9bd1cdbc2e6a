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
#include "Version.h"

namespace sysreport {
namespace {

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* namedButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      supportAddress_(kDefaultSupportAddress),
      uptime_(uptimeFromMilliseconds(services_.clock.uptimeMilliseconds())),
      commands_([this] { return buildReport(); }, services_.prompts, services_.locations),
      mailer_(commands_, services_.prompts, services_.mail) {
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
    file->addAction(tr("View/&Save to a file"), this, &MainWindow::cmdSaveToFile_Click)
        ->setObjectName("mnuSave");
    file->addAction(tr("&Email the saved file"), this, &MainWindow::cmdSentEmail_Click)
        ->setObjectName("mnuEmail");
    file->addAction(tr("E&xit"), this, &QWidget::close)->setObjectName("mnuExit");

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName("mnuTools");
    tools->addAction(tr("Change Default"), this, &MainWindow::mnuChangeDefault_Click)
        ->setObjectName("mnuChangeDefault");

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("mnuHelp");
    help->addAction(tr("&About sysreport"), this, &MainWindow::mnuSysInfo_Click)
        ->setObjectName("mnuSysInfo");
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    // The instructions below speak of "the above field".
    auto* addressRow = new QHBoxLayout;
    QLabel* emailTo = namedLabel("lblEmailTo", tr("Email To:"), central);
    txtEmailTo_ = new QLineEdit(QString::fromUtf8(kDefaultSupportAddress), central);
    txtEmailTo_->setObjectName("txtEmailTo");
    emailTo->setBuddy(txtEmailTo_);
    addressRow->addWidget(emailTo);
    addressRow->addWidget(txtEmailTo_, 1);
    layout->addLayout(addressRow);

    QLabel* instructions = namedLabel("Label1", tr("Instructions:"), central);
    QFont bold = instructions->font();
    bold.setBold(true);
    instructions->setFont(bold);
    layout->addWidget(instructions);
    QLabel* explanation = namedLabel(
        "Label2",
        tr("Click View/Save to a file to save a text file which you can then email to your Tech "
           "Support contact. As an alternative, you can enter the email address you want in the "
           "above field and click Email the saved file."),
        central);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* buttons = new QHBoxLayout;
    QPushButton* save = namedButton("cmdSaveToFile", tr("View/&Save to a file"), central);
    connect(save, &QPushButton::clicked, this, &MainWindow::cmdSaveToFile_Click);
    QPushButton* email = namedButton("cmdSentEmail", tr("&Email the saved file"), central);
    connect(email, &QPushButton::clicked, this, &MainWindow::cmdSentEmail_Click);
    QPushButton* exit = namedButton("cmdExit", tr("E&xit"), central);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(save);
    buttons->addWidget(email);
    buttons->addStretch(1);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    layout->addStretch(1);
    lblComputerRunning_ = namedLabel("lblComputerRunning", tr("System Running"), central);
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

std::string MainWindow::buildReport() {
    ReportWriter writer({services_.facts, services_.clock, services_.registry, services_.cadHost,
                         services_.prompts},
                        services_.locations.programFolder, screenFacts());
    writer.setOpenGl(probeOpenGl());
    return writer.build();
}

std::string MainWindow::writeToFile() {
    return commands_.writeToFile();
}

void MainWindow::cmdSaveToFile_Click() {
    commands_.viewSave();
}

void MainWindow::setEmailAddress() {
    supportAddress_ = txtEmailTo_->text().toStdString();
}

void MainWindow::cmdSentEmail_Click() {
    setEmailAddress();
    mailer_.emailReport(supportAddress_);
}

void MainWindow::useAddress(const QString& address) {
    // The chosen address goes into the field too, so the next e-mail uses it.
    supportAddress_ = address.toStdString();
    txtEmailTo_->setText(address);
}

void MainWindow::mnuChangeDefault_Click() {
    if (changeDefault_ == nullptr) {
        changeDefault_ = new ChangeDefaultDialog(this);
        changeDefault_->setAttribute(Qt::WA_DeleteOnClose);
        connect(changeDefault_, &ChangeDefaultDialog::addressChosen, this, &MainWindow::useAddress);
    }
    changeDefault_->show();
    changeDefault_->raise();
    changeDefault_->activateWindow();
}

void MainWindow::mnuSysInfo_Click() {
    AboutBox about(services_.systemInfo, services_.prompts, this);
    about.exec();
}

}  // namespace sysreport
