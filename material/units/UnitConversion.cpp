#include "UnitConversion.h"

namespace material {
namespace {

// The analysis suite's own constants; they deliberately differ from exact physical
// factors (6893.5773 rather than 6894.757), and stored files depend on them.
constexpr double kStressSi = 6893.5773;
constexpr double kConductivitySi = 74767.752;
constexpr double kSpecificHeatSi = 4186.0;
constexpr double kDensitySi = 27679.9;
constexpr double kExpansion = 1.8;

struct FactorColumn {
    double stress;
    double conductivity;
    double specificHeat;
    double density;
};

// Sets every slot from `first` to `last` inclusive; nothing when first > last.
void FillFactors(clsUnitConversion::FactorTable& table, int first, int last, double factor) {
    for (int s = first; s <= last; ++s) {
        table[static_cast<std::size_t>(s)] = factor;
    }
}

template <std::size_t N>
void FillGroup(clsUnitConversion::FactorTable& table, const std::array<PropertySlot, N>& group,
               int count, double factor) {
    FillFactors(table, group[0], group[static_cast<std::size_t>(count - 1)], factor);
}

clsUnitConversion::FactorTable BuildFactors(const FactorColumn& c) {
    const SlotTable& g = Slots();
    clsUnitConversion::FactorTable t{};  // slot 118 stays 0.0: it is never converted
    FillFactors(t, 0, kLastValueSlot, 1.0);
    FillFactors(t, 0, 3, c.stress);
    FillFactors(t, 7, 9, t[0]);
    FillFactors(t, 15, 17, t[0]);
    FillFactors(t, 10, 12, kExpansion);
    FillFactors(t, 19, 21, c.conductivity);
    FillGroup(t, g.MooneySlots, 6, t[0]);
    FillGroup(t, g.MuSlots, 4, t[0]);
    FillGroup(t, g.GSlots, 8, t[0]);
    FillGroup(t, g.KSlots, 8, t[0]);
    FillFactors(t, 18, 18, t[0]);
    FillFactors(t, 117, 117, 1 / 1.8);  // temperatures scale without an offset
    FillFactors(t, 14, 14, c.specificHeat);
    FillFactors(t, 13, 13, c.density);
    return t;
}

const clsUnitConversion::FactorTable& SharedSiPerIps() {
    static const auto table =
        BuildFactors({kStressSi, kConductivitySi, kSpecificHeatSi, kDensitySi});
    return table;
}

const clsUnitConversion::FactorTable& SharedMksPerIps() {
    static const auto table = BuildFactors({kStressSi / 98066.5, kConductivitySi / 418.4,
                                            kSpecificHeatSi / 4.184, kDensitySi / 1000000});
    return table;
}

bool InTable(PropertySlot s) {
    return s >= 0 && s < kSlotCount;
}

}  // namespace

clsUnitConversion::clsUnitConversion()
    : siPerIps_(&SharedSiPerIps()), mksPerIps_(&SharedMksPerIps()) {
    Slots();  // the slot table is complete before any converter is used
}

double clsUnitConversion::ChangeUnits(std::string_view oldUnit, std::string_view newUnit,
                                      PropertySlot nElm, double value) const {
    if (newUnit == "SI") {
        return ConvertToSI(oldUnit, nElm, value);
    }
    if (newUnit == "IPS") {
        return ConvertToIPS(oldUnit, nElm, value);
    }
    if (newUnit == "MKS") {
        return ConvertToMKS(oldUnit, nElm, value);
    }
    return value;
}

double clsUnitConversion::ConvertToSI(std::string_view oldUnit, PropertySlot nElm,
                                      double value) const {
    if (oldUnit == "IPS") {
        return IpsToSi(nElm, value);
    }
    if (oldUnit == "MKS") {
        return MksToSi(nElm, value);
    }
    return value;
}

double clsUnitConversion::ConvertToIPS(std::string_view oldUnit, PropertySlot nElm,
                                       double value) const {
    if (oldUnit == "SI") {
        return SiToIps(nElm, value);
    }
    if (oldUnit == "MKS") {
        return MksToIps(nElm, value);
    }
    return value;
}

double clsUnitConversion::ConvertToMKS(std::string_view oldUnit, PropertySlot nElm,
                                       double value) const {
    if (oldUnit == "SI") {
        return SiToMks(nElm, value);
    }
    if (oldUnit == "IPS") {
        return IpsToMks(nElm, value);
    }
    return value;
}

double clsUnitConversion::IpsToSi(PropertySlot s, double value) const {
    return InTable(s) ? value * (*siPerIps_)[static_cast<std::size_t>(s)] : value;
}

double clsUnitConversion::SiToIps(PropertySlot s, double value) const {
    // Slot 118 has no factor; dividing by its 0.0 would give an infinite value.
    if (!InTable(s) || (*siPerIps_)[static_cast<std::size_t>(s)] == 0.0) {
        return value;
    }
    return value / (*siPerIps_)[static_cast<std::size_t>(s)];
}

double clsUnitConversion::IpsToMks(PropertySlot s, double value) const {
    return InTable(s) ? value * (*mksPerIps_)[static_cast<std::size_t>(s)] : value;
}

double clsUnitConversion::MksToIps(PropertySlot s, double value) const {
    if (!InTable(s) || (*mksPerIps_)[static_cast<std::size_t>(s)] == 0.0) {
        return value;
    }
    return value / (*mksPerIps_)[static_cast<std::size_t>(s)];
}

double clsUnitConversion::SiToMks(PropertySlot s, double value) const {
    return IpsToMks(s, SiToIps(s, value));
}

double clsUnitConversion::MksToSi(PropertySlot s, double value) const {
    return IpsToSi(s, MksToIps(s, value));
}

}  // namespace material
