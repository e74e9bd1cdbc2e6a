#include "ChangeDefaultDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "MainBehaviour.h"
#include "WindowTexts.h"

namespace sysreport {

ChangeDefaultDialog::ChangeDefaultDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmChangeDefault");
    setWindowTitle(QString::fromUtf8(texts::kChangeDefaultCaption));
    setModal(false);

    auto* label = new QLabel(QString::fromUtf8(texts::kDefaultEmailLabel), this);
    label->setObjectName("lblDefaultEmail");
    txtDefaultEmail_ = new QLineEdit(QString::fromStdString(MainBehaviour::defaultAddress()), this);
    txtDefaultEmail_->setObjectName("txtDefaultEmail");
    label->setBuddy(txtDefaultEmail_);

    auto* ok = new QPushButton(QString::fromUtf8(texts::kOkButton), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ChangeDefaultDialog::cmdOK_Click);
    auto* cancel = new QPushButton(QString::fromUtf8(texts::kCancelButton), this);
    cancel->setObjectName("cmdCancel");
    connect(cancel, &QPushButton::clicked, this, &ChangeDefaultDialog::cmdCancel_Click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(txtDefaultEmail_, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 1, 0, 1, 2);
    resize(380, sizeHint().height());
}

void ChangeDefaultDialog::cmdOK_Click() {
    emit okClicked(txtDefaultEmail_->text());
    close();
}

void ChangeDefaultDialog::cmdCancel_Click() {
    emit cancelClicked();
    close();
}

}  // namespace sysreport
