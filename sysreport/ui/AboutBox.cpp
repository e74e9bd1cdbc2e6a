#include "AboutBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "AboutTexts.h"
#include "WindowTexts.h"

namespace sysreport {
namespace {

QLabel* plainLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // Plain text keeps the version line's run of blanks.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutBox::AboutBox(SystemInfoTool& systemInfo, MessageSink& messages, QWidget* parent)
    : QDialog(parent), systemInfo_(systemInfo), messages_(messages) {
    setObjectName("frmAbout");
    setModal(true);
    const AboutTexts about = aboutTexts();
    setWindowTitle(QString::fromStdString(about.caption));

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop);

    auto* lblTitle = plainLabel("lblTitle", QString::fromStdString(about.title), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = plainLabel("lblVersion", QString::fromStdString(about.version), this);
    auto* lblSuiteVersion =
        plainLabel("lblSuiteVersion", QString::fromStdString(about.suite), this);
    auto* lblDescription =
        plainLabel("lblDescription", QString::fromStdString(about.description), this);
    auto* lblDisclaimer =
        plainLabel("lblDisclaimer", QString::fromStdString(about.disclaimer), this);

    auto* ok = new QPushButton(QString::fromUtf8(texts::kOkButton), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(QString::fromUtf8(texts::kSystemInfoButton), this);
    sysInfo->setObjectName("cmdSysInfo");
    connect(sysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);

    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(lblTitle);
    textColumn->addWidget(lblVersion);
    textColumn->addWidget(lblSuiteVersion);
    textColumn->addSpacing(8);
    textColumn->addWidget(lblDescription);
    textColumn->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(textColumn, 1);

    auto* bottom = new QGridLayout;
    bottom->addWidget(lblDisclaimer, 0, 0, 2, 1);
    bottom->addWidget(ok, 0, 1);
    bottom->addWidget(sysInfo, 1, 1);
    bottom->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    layout->addLayout(bottom);
    resize(460, 220);
}

void AboutBox::cmdSysInfo_Click() {
    startSystemInfo(systemInfo_, messages_);
}

}  // namespace sysreport
