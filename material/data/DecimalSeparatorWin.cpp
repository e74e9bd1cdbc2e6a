#include <windows.h>

#include <vector>

#include "DecimalSeparator.h"

namespace material {

std::string UserLocaleDecimalSeparator::ReadDecimalSeparator() const {
    const LCID locale = GetUserDefaultLCID();
    const int length = GetLocaleInfoA(locale, LOCALE_SDECIMAL, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length));
    if (GetLocaleInfoA(locale, LOCALE_SDECIMAL, buffer.data(), length) <= 0) {
        return {};
    }
    return std::string(buffer.data());  // without the terminating zero
}

}  // namespace material
