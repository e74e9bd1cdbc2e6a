// The property panel's rules on a value typed into the grid and on the name code,
// free of any toolkit.
#pragma once

#include <string>
#include <string_view>

#include "units/SlotTable.h"

namespace material {

class NumberParser;

inline constexpr std::string_view kPositiveValueMessage = "Value entered must be a positive number";
inline constexpr std::string_view kOverwriteQuestion = "Overwrite the existing material ?";
inline constexpr std::string_view kValueTooLargeMessage =
    "The value entered is too large: a library file cannot hold it in every unit system.";

// What leaving a value cell does with the text it holds.
enum class GridEntry {
    Empty,              // nothing typed: editing ends, nothing is stored
    NotANumber,         // the cell is emptied without a message
    ForbiddenNegative,  // the cell is emptied after kPositiveValueMessage
    TooLarge,           // the cell is emptied after kValueTooLargeMessage
    Number,             // the value is stored
};

// Whether the property with grid code `code` (blanks and case ignored) may hold a
// negative value: the thermal expansions, Poisson's ratios and shear moduli.
bool MayBeNegative(std::string_view code);

// Judges the text of a value cell of the row whose code is `code`.
GridEntry JudgeGridEntry(std::string_view cellText, std::string_view code,
                         const NumberParser& numbers);
// As above, for slot `slot` typed in unit system `system`: a number that a library file
// cannot hold in every system is too large.
GridEntry JudgeGridEntry(std::string_view cellText, std::string_view code,
                         const NumberParser& numbers, PropertySlot slot, std::string_view system);

// The 13-character code the panel derives from the name field: its first 13
// characters when the trimmed name has 13 or more, else the trimmed name padded with
// blanks.
std::string NameCode(std::string_view nameField);

}  // namespace material
