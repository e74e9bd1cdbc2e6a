#pragma once
// Where the program's dialogs open.

#include <windows.h>

namespace spwin {

// Centres `window` over its owner, or in the work area of its monitor when it has
// none, keeping it inside that work area.
void centerWindow(HWND window);

}  // namespace spwin
