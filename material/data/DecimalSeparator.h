#pragma once
// The user's decimal separator, read from the user's locale settings.

#include <string>

namespace material {

class DecimalSeparatorSource {
  public:
    virtual ~DecimalSeparatorSource() = default;
    // The separator text, e.g. "." or ","; empty when the system reports none.
    virtual std::string ReadDecimalSeparator() const = 0;
};

// The platform's own source: the user's numeric locale on Linux (LC_NUMERIC as the
// environment sets it; the process's global locale is neither read nor changed), the
// user default locale's LOCALE_SDECIMAL on Windows.
class UserLocaleDecimalSeparator final : public DecimalSeparatorSource {
  public:
    std::string ReadDecimalSeparator() const override;
};

}  // namespace material
