#pragma once
// The program's icons by resource number, and the dialog font.

#include <QFont>
#include <QIcon>

namespace spdialog {

enum IconId {
    IDR_MAINFRAME = 128,
    IDI_MOTION = 132,
    IDI_QUIKLET = 134,
    IDI_SUSTAINABILITY = 140,
    IDI_FLOW = 141,
    IDI_SIMULATION = 138,
};

// Icons show at the system's standard icon size.
inline constexpr int kIconPixels = 32;

// The icon of that number; a null icon for an unknown one.
QIcon programIcon(int id);

// The application font at 8 points, the size the dialogs are laid out for.
QFont dialogFont();

}  // namespace spdialog
