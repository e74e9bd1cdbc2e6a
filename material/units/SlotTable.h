#pragma once
// The property slot table: the fixed numbering of every material property, its codes,
// descriptions, slot groups and per-system unit labels.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace material {

// Index 0-118 of a material property; kNoSlot names none.
using PropertySlot = std::int16_t;
inline constexpr PropertySlot kNoSlot = -1;
inline constexpr int kSlotCount = 119;
// Slots 0-117 can hold a convertible value; slot 118 never does.
inline constexpr PropertySlot kLastValueSlot = 117;

// Every group has one entry more than the slots it receives; unassigned entries hold 0.
struct SlotTable {
    std::array<std::string, kSlotCount> SlotCode;
    std::array<std::string, kSlotCount> SlotDescription;
    std::array<PropertySlot, 5> AlphSlots{};
    std::array<PropertySlot, 5> MuSlots{};
    std::array<PropertySlot, 7> MooneySlots{};
    std::array<PropertySlot, 9> GSlots{};
    std::array<PropertySlot, 9> KSlots{};
    std::array<PropertySlot, 9> TaugSlots{};
    std::array<PropertySlot, 9> TaukSlots{};
    std::array<PropertySlot, 9> TauSlots{};
    std::array<PropertySlot, 3> VcSlots{};
    std::array<PropertySlot, 22> McSlots{};
    // The 21 MC codes in slot order, blank-padded for the property grid.
    std::array<std::string, 21> McPaddedCodes;
};

// The program-wide slot table, built on first use and never changed afterwards.
const SlotTable& Slots();

// The first slot 0-117 whose code equals `code` with surrounding blanks removed; kNoSlot
// when none does. An empty code names no slot.
PropertySlot FindSlotByCode(std::string_view code);

// Fixed-width unit labels by slot: IPS and SI padded to 16 characters, MKS to 17; the
// blank label is 16 blanks in all three. Slots without a label hold empty text.
struct UnitLabelTable {
    std::array<std::string, kSlotCount> Ips;
    std::array<std::string, kSlotCount> Si;
    std::array<std::string, kSlotCount> Mks;
};

const UnitLabelTable& SlotUnitLabels();

// Label width of each system and the blank label.
inline constexpr std::size_t kLabelWidth = 16;
inline constexpr std::size_t kMksLabelWidth = 17;
inline constexpr std::string_view kBlankLabel = "                ";

}  // namespace material
