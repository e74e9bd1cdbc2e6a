#include "app/PanelRules.h"

#include <array>

#include "data/Material.h"
#include "data/NumberParser.h"
#include "data/Text.h"

namespace material {

namespace {

constexpr std::size_t kNameCodeWidth = 13;
constexpr std::array<std::string_view, 9> kSignedCodes = {"ALPX", "ALPY", "ALPZ", "NUXY", "NUXZ",
                                                          "NUYZ", "GXY",  "GXZ",  "GYZ"};

}  // namespace

bool MayBeNegative(std::string_view code) {
    const std::string_view trimmed = text::Trim(code);
    for (const std::string_view allowed : kSignedCodes) {
        if (text::EqualNoCase(trimmed, allowed)) {
            return true;
        }
    }
    return false;
}

GridEntry JudgeGridEntry(std::string_view cellText, std::string_view code,
                         const NumberParser& numbers, PropertySlot slot, std::string_view system) {
    const GridEntry judged = JudgeGridEntry(cellText, code, numbers);
    if (judged == GridEntry::Number && slot != kNoSlot &&
        !ValueFitsLibrary(slot, system, *numbers.ParseEntry(text::Trim(cellText)))) {
        return GridEntry::TooLarge;
    }
    return judged;
}

GridEntry JudgeGridEntry(std::string_view cellText, std::string_view code,
                         const NumberParser& numbers) {
    const std::string_view trimmed = text::Trim(cellText);
    if (trimmed.empty()) {
        return GridEntry::Empty;
    }
    const std::optional<double> number = numbers.ParseEntry(trimmed);
    if (!number) {
        return GridEntry::NotANumber;
    }
    if (*number < 0.0 && !MayBeNegative(code)) {
        return GridEntry::ForbiddenNegative;
    }
    return GridEntry::Number;
}

std::string NameCode(std::string_view nameField) {
    const std::string_view trimmed = text::Trim(nameField);
    if (trimmed.size() >= kNameCodeWidth) {
        return std::string(nameField.substr(0, kNameCodeWidth));
    }
    return text::PadRight(trimmed, kNameCodeWidth);
}

}  // namespace material
