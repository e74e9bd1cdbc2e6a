#pragma once
// Unit labels and conversion factors of the property panel's twelve value rows. These
// constants are the panel's own and differ from the per-slot tables for stress,
// density and specific heat.

#include <array>
#include <string>
#include <string_view>

namespace material {

inline constexpr int kPanelRowCount = 12;
inline constexpr int kPanelFactorCount = 14;  // entries 12 and 13 stay 0.0

struct PanelLabelRow {
    std::string Ips;
    std::string Si;
    std::string Mks;
};

// Labels of rows 0-11 (rows 10 and 11 have empty labels).
const std::array<PanelLabelRow, kPanelRowCount>& PanelUnitLabels();
const std::array<double, kPanelFactorCount>& PanelSiPerIps();
const std::array<double, kPanelFactorCount>& PanelMksPerIps();

// The factor by which the panel multiplies the value of `row` when the panel moves
// from system `from` to system `to`; 1.0 for the same system, an unknown system or a
// row outside 0-11.
double PanelFactor(std::string_view from, std::string_view to, int row);

}  // namespace material
