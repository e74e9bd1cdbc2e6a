#include "CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "DialogUnits.h"
#include "ProgramIcons.h"

namespace spdialog {

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog100"));
    setWindowTitle(QStringLiteral("About studypurge"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(dialogFont());
    const DialogUnits du = DialogUnits::forFont(font());
    setFixedSize(du.size(235, 60));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon128"));
    icon->setPixmap(programIcon(IDR_MAINFRAME).pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(du.x(11), du.y(17), kIconPixels, kIconPixels);

    addLabel(this, "static_version", QStringLiteral("studypurge version 2012"),
             du.rect(40, 10, 128, 8));
    auto* about = addLabel(this, "static_about",
                           QStringLiteral("Removes the data of analysis products\n"
                                          "from PLANDRY part and assembly files."),
                           du.rect(40, 25, 159, 17));
    about->setWordWrap(false);
    // The program's own version stays above; this line is the suite's.
    addLabel(this, "static_suite_version", QStringLiteral("korvex-tools " KT_VERSION),
             du.rect(40, 45, 159, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setGeometry(du.rect(178, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace spdialog
