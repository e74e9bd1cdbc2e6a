#include "AboutForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "Resources.h"

namespace material {

namespace {

QLabel* addLabel(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    return label;
}

}  // namespace

AboutForm::AboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutForm"));
    setWindowTitle(QStringLiteral("About Material Browser "));
    setWindowIcon(resources::icon(QStringLiteral("ABOUT")));
    setModal(false);
    // An ownerless window must not keep the program running once the frame has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    setAutoFillBackground(true);

    auto* picture = addLabel(this, "aboutPicture", QString());
    picture->setPixmap(resources::iconPixmap(QStringLiteral("ABOUT")));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = addLabel(this, "titleLabel", QStringLiteral("Korvex/M Material Browser"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    auto* version = addLabel(this, "versionLabel", QStringLiteral("Version 3.0"));
    // The browser's own version above stays as it always was; this is the suite's.
    auto* suiteVersion =
        addLabel(this, "suiteVersionLabel", QStringLiteral("korvex-tools " KT_VERSION));
    auto* notice = addLabel(
        this, "legalNoticeLabel",
        QStringLiteral("Copyright \u00A9 Korvex. All rights reserved.\n\nThis program is "
                       "protected by copyright law. Copying or distributing it, or any part "
                       "of it, without the written permission of the copyright holder is not "
                       "permitted."));
    notice->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutForm::aboutOKButton_Click);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setHorizontalSpacing(16);
    layout->addWidget(picture, 0, 0, 4, 1);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(suiteVersion, 2, 1);
    layout->addWidget(notice, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    notice->setMinimumWidth(300);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutForm::aboutOKButton_Click() {
    hide();
    deleteLater();
}

void AboutForm::reject() {
    aboutOKButton_Click();
}

}  // namespace material
