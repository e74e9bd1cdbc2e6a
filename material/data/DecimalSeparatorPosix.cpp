#include <langinfo.h>
#include <locale.h>

#include "DecimalSeparator.h"

namespace material {

std::string UserLocaleDecimalSeparator::ReadDecimalSeparator() const {
    // A locale object of our own reads the user's setting without touching the global
    // locale that other parts of the program rely on.
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) {
        return ".";  // an unknown locale name in the environment: the C locale applies
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    std::string separator = radix != nullptr ? radix : "";
    freelocale(user);
    return separator;
}

}  // namespace material
