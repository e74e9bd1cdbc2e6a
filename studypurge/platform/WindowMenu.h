#pragma once
// The about item of the dialog's window (system) menu.

#include <cstdint>
#include <string_view>

namespace spdialog {

// Command id of the about item. The system reserves the low four bits of
// system-command ids, so every id from 16 to 31 means the about item.
inline constexpr unsigned kAboutCommandId = 16;

constexpr bool isAboutCommandId(std::uintptr_t id) {
    return (id & 0xFFF0) == kAboutCommandId;
}

// True where a program can add items to its window menu (Windows); elsewhere the
// dialog offers the item in its context menu.
bool hasWindowMenu();

// Appends a separator and the item `text` with id 16 to the window menu of the
// native window `window` (an HWND). False when there is no such menu.
bool appendAboutItem(void* window, std::u16string_view text);

// True when `nativeMessage` (a MSG*) is a system command for the about item.
bool isAboutCommand(const void* nativeMessage);

}  // namespace spdialog
