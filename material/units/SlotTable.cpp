#include "SlotTable.h"

#include <algorithm>
#include <span>
#include <string>
#include <unordered_map>

namespace material {
namespace {

std::string Padded(std::string_view text, std::size_t width) {
    std::string out(text);
    if (out.size() < width) {
        out.append(width - out.size(), ' ');
    }
    return out;
}

// Gives `count` consecutive slots to a group and advances the next free slot.
template <std::size_t N>
void AssignSlotGroup(std::array<PropertySlot, N>& group, int count, PropertySlot& nextSlot) {
    for (int i = 0; i < count; ++i) {
        group[static_cast<std::size_t>(i)] = nextSlot++;
    }
}

void DefineSlot(SlotTable& t, PropertySlot slot, std::string code, std::string description) {
    t.SlotCode[static_cast<std::size_t>(slot)] = std::move(code);
    t.SlotDescription[static_cast<std::size_t>(slot)] = std::move(description);
}

constexpr std::array<std::string_view, 21> kMcCodes = {
    "MC11", "MC12", "MC13", "MC14", "MC15", "MC16", "MC22", "MC23", "MC24", "MC25", "MC26",
    "MC33", "MC34", "MC35", "MC36", "MC44", "MC45", "MC46", "MC55", "MC56", "MC66"};

void BuildMcPaddedCodes(SlotTable& t) {
    // The first ten codes are one blank wider than the rest.
    for (std::size_t i = 0; i < kMcCodes.size(); ++i) {
        t.McPaddedCodes[i] = Padded(kMcCodes[i], i < 10 ? 11 : 10);
    }
}

void DefineFixedSlots(SlotTable& t) {
    DefineSlot(t, 0, "EX", "Elasticity modulus (1st dir)");
    DefineSlot(t, 1, "EY", "Elasticity modulus (2nd dir)");
    DefineSlot(t, 2, "EZ", "Elasticity modulus (3rd dir)");
    DefineSlot(t, 4, "NUXY", "Poisson's ratio in XY dir.");
    DefineSlot(t, 5, "NUYZ", "Poisson's ratio in YZ dir.");
    DefineSlot(t, 6, "NUXZ", "Poisson's ratio in XZ dir.");
    DefineSlot(t, 7, "GXY", "Shear modulus in XY dir");
    DefineSlot(t, 8, "GYZ", "Shear modulus in YZ dir");
    DefineSlot(t, 9, "GXZ", "Shear modulus in XZ dir");
    DefineSlot(t, 13, "DENS", "Mass Density");
    DefineSlot(t, 15, "SIGXT", "Tensile Strength (X dir)");
    DefineSlot(t, 17, "SIGXC", "Compressive Strength (X dir)");
    DefineSlot(t, 16, "SIGYLD", "Yield Stress");
    DefineSlot(t, 10, "ALPX", "Coeff. of thermal expansion in X dir.");
    DefineSlot(t, 11, "ALPY", "Coeff. of thermal expansion in Y dir.");
    DefineSlot(t, 12, "ALPZ", "Coeff. of thermal expansion in Z dir.");
    DefineSlot(t, 19, "KX", "Thermal conductivity in X dir.");
    DefineSlot(t, 20, "KY", "Thermal conductivity in Y dir.");
    DefineSlot(t, 21, "KZ", "Thermal conductivity in Z dir.");
    DefineSlot(t, 14, "C (Cp)", "Specific Heat");
    DefineSlot(t, 18, "COHESN", "Cohesion strength");
    DefineSlot(t, 22, "FRCANG", "Friction angle");
    DefineSlot(t, 3, "ETAN", "Tangent modulus");
}

void DefineVcSlots(SlotTable& t) {
    DefineSlot(t, t.VcSlots[0], "VC1", "First constant for Williams-Landel-Ferry eq.");
    DefineSlot(t, t.VcSlots[1], "VC2", "Second constant for Williams-Landel-Ferry eq.");
}

void DefineMcSlots(SlotTable& t) {
    for (std::size_t i = 0; i < kMcCodes.size(); ++i) {
        const std::string_view code = kMcCodes[i];
        std::string description = "Material Matrix (";
        description += code[2];
        description += ':';
        description += code[3];
        description += ')';
        DefineSlot(t, t.McSlots[i], std::string(code), std::move(description));
    }
}

void DefineNumberedSlots(SlotTable& t) {
    static constexpr std::array<std::string_view, 6> kMooney = {"First",  "Second", "Third",
                                                                "Fourth", "Fifth",  "Sixth"};
    for (std::size_t i = 0; i < kMooney.size(); ++i) {
        DefineSlot(t, t.MooneySlots[i], std::string("MOONEY_") + static_cast<char>('A' + i),
                   std::string(kMooney[i]) + " Material constant");
    }
    static constexpr std::array<std::string_view, 4> kPower = {"First", "Second", "Third",
                                                               "Fourth"};
    for (std::size_t i = 0; i < kPower.size(); ++i) {
        DefineSlot(t, t.AlphSlots[i], "ALPH" + std::to_string(i + 1),
                   std::string(kPower[i]) + " Power Coeff.");
    }
    for (std::size_t i = 0; i < kPower.size(); ++i) {
        DefineSlot(t, t.MuSlots[i], "MU" + std::to_string(i + 1),
                   std::string(kPower[i]) + " constant");
    }
    DefineSlot(t, 117, "REFTEMP", "Glassy transition temperature");
    DefineVcSlots(t);
    for (std::size_t i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i + 1);
        DefineSlot(t, t.TaukSlots[i], "TAUK" + n, "Time values");
        DefineSlot(t, t.TaugSlots[i], "TAUG" + n, "Time values (Shear Relaxation modulus)");
        DefineSlot(t, t.GSlots[i], "G" + n, "Shear Relaxation modulus");
        DefineSlot(t, t.KSlots[i], "K" + n, "Bulk Relaxation");
    }
}

SlotTable BuildSlotTable() {
    SlotTable t;
    PropertySlot next = 23;
    AssignSlotGroup(t.AlphSlots, 4, next);
    AssignSlotGroup(t.MuSlots, 4, next);
    AssignSlotGroup(t.MooneySlots, 6, next);
    AssignSlotGroup(t.GSlots, 8, next);
    AssignSlotGroup(t.KSlots, 8, next);
    AssignSlotGroup(t.TaugSlots, 8, next);
    AssignSlotGroup(t.TaukSlots, 8, next);
    AssignSlotGroup(t.TauSlots, 8, next);
    AssignSlotGroup(t.VcSlots, 2, next);
    AssignSlotGroup(t.McSlots, 22, next);
    BuildMcPaddedCodes(t);
    DefineFixedSlots(t);
    DefineVcSlots(t);
    DefineMcSlots(t);
    DefineNumberedSlots(t);
    return t;
}

std::unordered_map<std::string_view, PropertySlot> BuildCodeIndex() {
    std::unordered_map<std::string_view, PropertySlot> index;
    const SlotTable& t = Slots();
    for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
        const std::string& code = t.SlotCode[static_cast<std::size_t>(s)];
        if (!code.empty()) {
            index.emplace(code, s);  // emplace keeps the first slot of a code
        }
    }
    return index;
}

template <typename Range>
void SetLabels(UnitLabelTable& t, const Range& slots, std::string_view ips, std::string_view si,
               std::string_view mks) {
    for (const auto s : slots) {
        const auto i = static_cast<std::size_t>(s);
        t.Ips[i] = Padded(ips, kLabelWidth);
        t.Si[i] = Padded(si, kLabelWidth);
        t.Mks[i] = Padded(mks, mks.empty() ? kLabelWidth : kMksLabelWidth);
    }
}

template <std::size_t N>
std::span<const PropertySlot> Used(const std::array<PropertySlot, N>& group, std::size_t count) {
    return std::span<const PropertySlot>(group.data(), count);
}

UnitLabelTable BuildUnitLabels() {
    const SlotTable& g = Slots();
    UnitLabelTable t;
    const std::array<PropertySlot, 10> stress = {0, 1, 2, 3, 7, 8, 9, 15, 16, 17};
    SetLabels(t, stress, "psi", "N/m^2", "Kgf/cm^2");
    SetLabels(t, std::array<PropertySlot, 1>{18}, "psi", "N/m^2", "Kgf/cm^2");
    SetLabels(t, Used(g.MuSlots, 4), "psi", "N/m^2", "Kgf/cm^2");
    SetLabels(t, Used(g.MooneySlots, 6), "psi", "N/m^2", "Kgf/cm^2");
    SetLabels(t, std::array<PropertySlot, 3>{4, 5, 6}, "", "", "");
    SetLabels(t, Used(g.AlphSlots, 4), "", "", "");
    SetLabels(t, Used(g.McSlots, 21), "", "", "");
    SetLabels(t, std::array<PropertySlot, 3>{10, 11, 12}, "/Fahrenheit", "/Kelvin", "/Centigrade");
    SetLabels(t, std::array<PropertySlot, 1>{13}, "lb/in^3", "Kgm/m^3", "kg/cm^3");
    SetLabels(t, std::array<PropertySlot, 1>{14}, "BTU/(lb.F)", "J/kgm.K", "Cal/(Kg.C)");
    SetLabels(t, std::array<PropertySlot, 3>{19, 20, 21}, "BTU/in/s/F", "W/(m.K)", "Cal/(cm.s.C)");
    SetLabels(t, std::array<PropertySlot, 1>{117}, "Fahrenheit", "Kelvin", "Centigrade");
    // The friction angle's MKS label is one of the two that stay 16 characters wide.
    t.Ips[22] = Padded("Degrees", kLabelWidth);
    t.Si[22] = Padded("Degrees", kLabelWidth);
    t.Mks[22] = Padded("Degrees", kLabelWidth);
    return t;
}

}  // namespace

const SlotTable& Slots() {
    static const SlotTable table = BuildSlotTable();
    return table;
}

PropertySlot FindSlotByCode(std::string_view code) {
    static const std::unordered_map<std::string_view, PropertySlot> index = BuildCodeIndex();
    const auto first = code.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return kNoSlot;
    }
    code = code.substr(first, code.find_last_not_of(' ') - first + 1);
    const auto it = index.find(code);
    return it == index.end() ? kNoSlot : it->second;
}

const UnitLabelTable& SlotUnitLabels() {
    static const UnitLabelTable table = BuildUnitLabels();
    return table;
}

}  // namespace material
