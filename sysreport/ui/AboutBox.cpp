#include "AboutBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "Version.h"

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
    const QString title = QString::fromUtf8(kAppTitle);
    setWindowTitle("About " + title);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop);

    auto* lblTitle = plainLabel("lblTitle", title, this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = plainLabel(
        "lblVersion",
        QString("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision) +
            QString(14, ' ') + QString::fromUtf8(kLegalNotice),
        this);
    auto* lblDescription = plainLabel(
        "lblDescription",
        title +
            " is a utility that retrieves information about the configuration of the computer "
            "and about installed Korvex Products. ",
        this);
    auto* lblDisclaimer =
        plainLabel("lblDisclaimer", title + " created by Korvex Tech Support", this);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName("cmdSysInfo");
    connect(sysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(texts, 1);

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
    if (!systemInfo_.start()) {
        messages_.showMessage(kSystemInfoUnavailable);
    }
}

}  // namespace sysreport
