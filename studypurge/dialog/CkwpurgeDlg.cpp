#include "CkwpurgeDlg.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "CAboutDlg.h"
#include "DialogUnits.h"
#include "ProgramIcons.h"
#include "QtStrings.h"
#include "WindowMenu.h"

namespace spdialog {

namespace {

QString controlName(const char* kind, int id) {
    return QLatin1String(kind) + QString::number(id);
}

// Fonts other than the one the layout was drawn for can be a little wider; a text
// control then grows to the right (where nothing lies) rather than clip its text.
void widenToFitText(QWidget* control) {
    const int wanted = control->sizeHint().width();
    if (wanted > control->width()) {
        control->resize(wanted, control->height());
    }
}

QLabel* addStatic(QWidget* parent, int id, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(controlName("static", id));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    widenToFitText(label);
    return label;
}

}  // namespace

CkwpurgeDlg::CkwpurgeDlg(DialogServices services, QWidget* parent)
    : QDialog(parent), controller_(*this, std::move(services)) {
    setObjectName(QStringLiteral("dialog102"));
    setWindowTitle(QStringLiteral("PLANDRY studypurge "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon(IDR_MAINFRAME));
    setFont(dialogFont());
    createControls();
    updateData(false);

    if (hasWindowMenu()) {
        appendAboutItem(reinterpret_cast<void*>(winId()),
                        loadQString(IDS_ABOUTBOX).toStdU16String());
    }
}

void CkwpurgeDlg::createControls() {
    const DialogUnits du = DialogUnits::forFont(font());
    setFixedSize(du.size(323, 239));

    auto* group = new QGroupBox(QStringLiteral("Clean all Simulation data from file"), this);
    group->setObjectName(controlName("group", 1021));
    group->setGeometry(du.rect(6, 7, 310, 182));

    addStatic(this, 1016, QStringLiteral("Choose PLANDRY file (*.pldprt;*.pldasm)"),
              du.rect(13, 25, 142, 8));
    pathEdit_ = new QLineEdit(this);
    pathEdit_->setObjectName(controlName("edit", 1001));
    pathEdit_->setGeometry(du.rect(13, 38, 246, 15));
    QPushButton* browse = addButton(1002, QStringLiteral("Browse..."), 263, 38);
    addStatic(this, 1017, QStringLiteral("Clean studies from following products:"),
              du.rect(13, 62, 119, 8));

    addIcon(IDI_SIMULATION, 18, 77);
    simulationCheck_ = addCheckBox(1009, QStringLiteral("PLANDRY Simulation"), 43, 83, 99);
    addIcon(IDI_QUIKLET, 18, 96);
    quikletCheck_ = addCheckBox(1008, QStringLiteral("SimulationQuiklet"), 43, 102, 69);
    addIcon(IDI_MOTION, 18, 117);
    motionCheck_ = addCheckBox(1010, QStringLiteral("PLANDRY Motion"), 43, 123, 85);
    addIcon(IDI_FLOW, 18, 139);
    flowCheck_ = addCheckBox(1013, QStringLiteral("PLANDRY Flow Simulation (include Driftlet)"), 43,
                             145, 178);
    addIcon(IDI_SUSTAINABILITY, 18, 163);
    sustainabilityCheck_ =
        addCheckBox(1014, QStringLiteral("PLANDRY  Sustainability"), 43, 169, 145);

    statusLine_ = addStatic(this, 1018, QString(), du.rect(10, 195, 288, 8));
    QPushButton* clean = addButton(1012, QStringLiteral("Clean File"), 154, 216);
    QPushButton* close = addButton(2, QStringLiteral("Close"), 210, 216);
    QPushButton* help = addButton(1011, QStringLiteral("Help"), 265, 216);

    connect(browse, &QPushButton::clicked, this, &CkwpurgeDlg::OnBrowse);
    connect(clean, &QPushButton::clicked, this, &CkwpurgeDlg::OnCleanFile);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CkwpurgeDlg::OnHelp);

    // Controls were created in tab order; state it for the focusable ones.
    const QList<QWidget*> order = {pathEdit_,    browse,     simulationCheck_,     quikletCheck_,
                                   motionCheck_, flowCheck_, sustainabilityCheck_, clean,
                                   close,        help};
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
}

QPushButton* CkwpurgeDlg::addButton(int id, const QString& text, int left, int top) {
    const DialogUnits du = DialogUnits::forFont(font());
    auto* button = new QPushButton(text, this);
    button->setObjectName(controlName("button", id));
    button->setGeometry(du.rect(left, top, id == 1002 ? 46 : 50, 14));
    return button;
}

QCheckBox* CkwpurgeDlg::addCheckBox(int id, const QString& text, int left, int top, int width) {
    const DialogUnits du = DialogUnits::forFont(font());
    auto* check = new QCheckBox(text, this);
    check->setObjectName(controlName("check", id));
    check->setGeometry(du.rect(left, top, width, 10));
    widenToFitText(check);
    return check;
}

void CkwpurgeDlg::addIcon(int iconId, int left, int top) {
    const DialogUnits du = DialogUnits::forFont(font());
    auto* icon = new QLabel(this);
    icon->setObjectName(controlName("icon", iconId));
    icon->setPixmap(programIcon(iconId).pixmap(kIconPixels, kIconPixels));
    // Icon controls take the icon's own size.
    icon->setGeometry(du.x(left), du.y(top), kIconPixels, kIconPixels);
}

spapp::DialogData CkwpurgeDlg::controlValues() const {
    spapp::DialogData data;
    data.filePath = pathEdit_->text().toStdString();
    data.cleanSimulation = simulationCheck_->isChecked();
    data.cleanMotion = motionCheck_->isChecked();
    data.cleanSimulationQuiklet = quikletCheck_->isChecked();
    data.cleanFlow = flowCheck_->isChecked();
    data.cleanSustainability = sustainabilityCheck_->isChecked();
    return data;
}

void CkwpurgeDlg::showControlValues(const spapp::DialogData& data) {
    showFilePath(data.filePath);
    simulationCheck_->setChecked(data.cleanSimulation);
    motionCheck_->setChecked(data.cleanMotion);
    quikletCheck_->setChecked(data.cleanSimulationQuiklet);
    flowCheck_->setChecked(data.cleanFlow);
    sustainabilityCheck_->setChecked(data.cleanSustainability);
}

void CkwpurgeDlg::showFilePath(const std::string& path) {
    pathEdit_->setText(QString::fromStdString(path));
}

void CkwpurgeDlg::setStatusLine(const std::string& text) {
    statusLine_->setText(QString::fromStdString(text));
}

void CkwpurgeDlg::showAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

void CkwpurgeDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A focused push button takes Enter itself; anywhere else it ends the dialog.
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CkwpurgeDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (hasWindowMenu()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    QAction* about = menu.addAction(loadQString(IDS_ABOUTBOX));
    about->setObjectName(QStringLiteral("action%1").arg(kAboutCommandId));
    if (menu.exec(event->globalPos()) == about) {
        OnSysCommand(kAboutCommandId);
    }
}

bool CkwpurgeDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (isAboutCommand(message)) {
        OnSysCommand(kAboutCommandId);
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}

}  // namespace spdialog
