#pragma once
// The three unit systems of the browser and the unit list that offers them.

#include <array>
#include <string_view>

namespace material {

// Unit-system identifiers; always compared exactly and case-sensitively.
inline constexpr std::string_view kIps = "IPS";
inline constexpr std::string_view kSi = "SI";
inline constexpr std::string_view kMks = "MKS";

// The texts of a unit list, in list order. "MKS(G)" is a display text only.
inline constexpr std::array<std::string_view, 3> kUnitListTexts = {"IPS", "SI", "MKS(G)"};

// The identifier that a unit-list position stands for; empty outside 0-2.
constexpr std::string_view UnitSystemAtPosition(int position) {
    switch (position) {
        case 0:
            return kIps;
        case 1:
            return kSi;
        case 2:
            return kMks;
        default:
            return {};
    }
}

}  // namespace material
