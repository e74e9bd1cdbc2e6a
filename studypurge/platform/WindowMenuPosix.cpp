// Platforms whose programs cannot reach their window menu.
#include "WindowMenu.h"

namespace spdialog {

bool hasWindowMenu() {
    return false;
}

bool appendAboutItem(void*, std::u16string_view) {
    return false;
}

bool isAboutCommand(const void*) {
    return false;
}

}  // namespace spdialog
