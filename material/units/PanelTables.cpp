#include "PanelTables.h"

#include "UnitSystems.h"

namespace material {
namespace {

std::string Padded(std::string_view text, std::size_t width) {
    std::string out(text);
    out.append(out.size() < width ? width - out.size() : 0, ' ');
    return out;
}

PanelLabelRow Row(std::string_view ips, std::string_view si, std::string_view mks) {
    return {Padded(ips, 16), Padded(si, 16), Padded(mks, 17)};
}

constexpr double kPanelStress = 6894.757293;

}  // namespace

const std::array<PanelLabelRow, kPanelRowCount>& PanelUnitLabels() {
    static const std::array<PanelLabelRow, kPanelRowCount> rows = {
        Row("psi", "N/m^2", "Kgf/cm^2"),
        Row("", "", ""),
        Row("psi", "N/m^2", "Kgf/cm^2"),
        Row("/Fahrenheit", "/Kelvin", "/Centigrade"),
        Row("lb/in^3", "Kg/m^3", "Kg/cm^3"),
        Row("BTU/in.s.F", "W/m.K", "Cal/cm.s.C"),
        Row("BTU/lb.F", "J/kg.K", "Cal/kg.C"),
        Row("psi", "N/m^2", "Kgf/cm^2"),
        Row("psi", "N/m^2", "Kgf/cm^2"),
        Row("psi", "N/m^2", "Kgf/cm^2"),
        PanelLabelRow{},
        PanelLabelRow{},
    };
    return rows;
}

const std::array<double, kPanelFactorCount>& PanelSiPerIps() {
    static const std::array<double, kPanelFactorCount> table = {
        kPanelStress, 1.0,          kPanelStress, 9.0 / 5.0,    10686893.36,
        74767.752,    10.84207145,  kPanelStress, kPanelStress, kPanelStress,
        kPanelStress, kPanelStress, 0.0,          0.0};
    return table;
}

const std::array<double, kPanelFactorCount>& PanelMksPerIps() {
    constexpr double stress = kPanelStress / 98066.5;
    static const std::array<double, kPanelFactorCount> table = {
        stress,
        1.0,
        stress,
        9.0 / 5.0,
        10686893.36 / 980665000,
        74767.752 / 418.4,
        10632.43999851425 / 4.184,
        stress,
        stress,
        0.07030721906817959,  // row 9 has its own literal, not the quotient of row 0
        stress,
        stress,
        0.0,
        0.0};
    return table;
}

double PanelFactor(std::string_view from, std::string_view to, int row) {
    if (row < 0 || row >= kPanelRowCount || from == to) {
        return 1.0;
    }
    const auto r = static_cast<std::size_t>(row);
    const double si = PanelSiPerIps()[r];
    const double mks = PanelMksPerIps()[r];
    if (from == kIps && to == kSi) {
        return si;
    }
    if (from == kIps && to == kMks) {
        return mks;
    }
    if (from == kSi && to == kIps) {
        return 1 / si;
    }
    if (from == kMks && to == kIps) {
        return 1 / mks;
    }
    if (from == kSi && to == kMks) {
        return (1 / si) * mks;
    }
    if (from == kMks && to == kSi) {
        return (1 / mks) * si;
    }
    return 1.0;
}

}  // namespace material
