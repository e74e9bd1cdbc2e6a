#pragma once
// What the property grid shows: the rows of a model type with their codes, descriptions
// and unit texts, and the value texts of a material in the chosen unit system. Plain
// functions without any toolkit, so the grid widget only copies texts into cells.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "units/SlotTable.h"

namespace material {

class clsMaterial;
class NumberParser;

inline constexpr int kGridColumnCount = 4;
inline constexpr int kPropertyColumn = 0;
inline constexpr int kDescriptionColumn = 1;
inline constexpr int kValueColumn = 2;
inline constexpr int kUnitsColumn = 3;
inline constexpr std::array<std::string_view, kGridColumnCount> kGridHeadings = {
    "Property", "Description", "Value", "Units"};

// Captions of the library window's twelve unit labels in the grid's order U0-U11
// (labels 1-9, 12, 10, 11).
inline constexpr int kUnitCaptionCount = 12;
using UnitCaptions = std::array<std::string, kUnitCaptionCount>;

// The captions the library window gives its unit labels for unit-list position
// `unitListPosition` (0 IPS, 1 SI, 2 MKS): labels 1-10 take panel rows 0-9, labels 11
// and 12 the stress label. All empty for a position outside 0-2.
UnitCaptions WindowUnitCaptions(int unitListPosition);

// One data row of the grid (grid row 1 is element 0).
struct GridRowLayout {
    PropertySlot slot = kNoSlot;
    std::string code;         // shown under "Property"
    std::string lookupCode;   // selects the property in the record (MC rows: padded)
    std::string description;  // shown under "Description"
    std::string units;        // shown under "Units"
};

// The data rows for model type `modelType` (the type-list position). Types 4-7, any
// position outside 0-12 and a negative one (no type selected) get the plasticity
// layout. `haveMaterial` tells whether a current material gives the unit labels of
// the viscoelastic group rows; without one they show the slot label of the system.
std::vector<GridRowLayout> GridRows(int modelType, int unitListPosition,
                                    const UnitCaptions& captions, bool haveMaterial);

// Whether the grid shows values at all for `modelType`: not for a negative position.
inline bool GridShowsValues(int modelType) {
    return modelType >= 0;
}

// The value of `lookupCode` in `material`, moved from the record's own system to
// `displaySystem` and formatted as the record formats values; empty when the property
// holds no value.
std::string GridValueText(const clsMaterial& material, std::string_view lookupCode,
                          std::string_view displaySystem);

// The tooltip of a value cell: the value in IPS, SI and MKS with their unit labels, one
// system a line; empty when the property holds no value.
std::string GridValueTooltip(const clsMaterial& material, std::string_view lookupCode);

// `value` as text in the user's standard number form: up to 15 significant digits, no
// digit grouping, `decimalSeparator` as decimal point, "E" exponents (1,2E-05).
std::string LocaleNumberText(double value, std::string_view decimalSeparator);

// When `text` is one number as the user writes numbers, that number rewritten by
// LocaleNumberText; empty otherwise.
std::optional<std::string> NumericCellText(std::string_view text, const NumberParser& numbers);

// What the grid needs from the library window. Every member is read at the moment of
// use.
class FlexGridHost {
  public:
    virtual ~FlexGridHost() = default;

    // The material whose values are shown; null when no material is selected.
    virtual const clsMaterial* CurrentMaterial() const = 0;
    // The selected position of the window's unit list (0 IPS, 1 SI, 2 MKS; -1 none).
    virtual int UnitListPosition() const = 0;
    // The user's number reading; its decimal separator is also the one numbers are
    // shown with, so that what the grid shows reads back unchanged.
    virtual const NumberParser& Numbers() const = 0;
};

}  // namespace material
