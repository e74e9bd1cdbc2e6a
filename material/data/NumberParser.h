#pragma once
// Number reading for library files and grid entries, with the user's decimal separator.

#include <optional>
#include <string>
#include <string_view>

namespace material {

class NumberParser {
  public:
    // `decimalSeparator` is the user's separator: "." or "," (others read texts unchanged).
    explicit NumberParser(std::string decimalSeparator = ".");

    const std::string& decimalSeparator() const { return separator_; }

    // Reads the leading number of `text` leniently: blanks, tabs and line feeds are
    // ignored anywhere; an optional sign, digits, "." with digits and an exponent with E
    // or D; it stops at the first character that cannot continue the number and gives 0
    // when nothing could be read. With the separator ",", leading blanks are removed and
    // the first "," reads as ".". Empty when the number lies beyond the range of a double.
    std::optional<double> Parse(std::string_view text) const;

    // A grid entry: the whole text, blanks around it removed, must be one number within
    // the range of a double; empty otherwise (also for empty text).
    std::optional<double> ParseEntry(std::string_view text) const;

  private:
    std::string Localised(std::string_view text) const;

    std::string separator_;
};

}  // namespace material
