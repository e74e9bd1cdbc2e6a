#include "ProgramIcons.h"

#include <QApplication>

namespace spdialog {

QIcon programIcon(int id) {
    if (id == IDR_MAINFRAME) {
        QIcon icon;
        for (int size : {16, 32, 48}) {
            icon.addFile(QStringLiteral(":/studypurge/icon128_%1.png").arg(size),
                         QSize(size, size));
        }
        return icon;
    }
    switch (id) {
        case IDI_MOTION:
        case IDI_QUIKLET:
        case IDI_SUSTAINABILITY:
        case IDI_FLOW:
        case IDI_SIMULATION:
            return QIcon(QStringLiteral(":/studypurge/icon%1.png").arg(id));
        default:
            return {};
    }
}

QFont dialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

}  // namespace spdialog
