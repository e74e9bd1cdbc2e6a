#pragma once
// The material record: identity, a value for every property slot that has one, and the
// operations that convert, format and write those values.

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "units/SlotTable.h"
#include "units/UnitConversion.h"

namespace material {

class NumberParser;
class clsMaterial;

// What a record needs from the open library and its window. The library operations
// implement it; tests with fakes. Every member is read at the moment of use.
class MaterialHost {
  public:
    virtual ~MaterialHost() = default;

    // The window's current unit system: "IPS", "SI", "MKS" or empty.
    virtual std::string CurrentUnitSystem() const = 0;
    // Selected positions of the unit list (0 IPS, 1 SI, 2 MKS) and of the type list.
    virtual int UnitListPosition() const = 0;
    virtual int TypeListPosition() const = 0;

    struct TreeNode {
        std::string key;  // category key, name text, then four position digits
        bool hasChildren = false;
        // A category node, whatever its key ends in (a category name may end in digits).
        bool isCategory = false;
    };
    // The selected node of the library tree; empty when none is selected.
    virtual std::optional<TreeNode> SelectedNode() const = 0;

    // Material `position` of the library's material list; null outside the list.
    virtual clsMaterial* MaterialAt(int position) = 0;
    // The library's number parser (it knows the user's decimal separator).
    virtual const NumberParser& Numbers() const = 0;
};

// Values are held in SI in the library's lists. A value is addressed by code: set
// Property, then read or write value. Texts are single-byte (Windows-1252) bytes.
class clsMaterial {
  public:
    // `host` may be null (no library window); it must outlive the record otherwise.
    explicit clsMaterial(MaterialHost* host = nullptr);

    const std::string& MaterialName() const { return name_; }
    void setMaterialName(std::string MatName) { name_ = std::move(MatName); }
    const std::string& MaterialNameCode() const { return code_; }
    void setMaterialNameCode(std::string code) { code_ = std::move(code); }
    const std::string& MaterialDescription() const { return description_; }
    void setMaterialDescription(std::string description) { description_ = std::move(description); }
    // The category the material belongs to (not its model type).
    const std::string& MaterialType() const { return category_; }
    void setMaterialType(std::string category) { category_ = std::move(category); }

    // Has-value flag of slot nProp; false outside 0-118.
    bool HasValue(PropertySlot nProp) const;
    void setHasValue(PropertySlot nProp, bool bval);

    // The current property: the code trimmed and padded to 10 characters; "C" and
    // "C (Cp)" both become "C (Cp)". Setting it recomputes the current slot.
    const std::string& Property() const { return property_; }
    void setProperty(std::string_view PROP);

    // The current property's value; 0.0 when it names no slot. Writing stores the value
    // and sets its flag, and does nothing when the property names no slot.
    double value() const;
    void setValue(double v);

    // The current property's value for display, converted from SI to the window's unit
    // system and formatted by WriteValue; empty when no slot or no value.
    std::string PropValue() const;
    // The current slot as last computed; kNoSlot if none.
    PropertySlot Index() const { return index_; }
    // Clears the flags of slots 0-117.
    void ClearAll();
    // Recomputes the current slot from the current property.
    void PropIndex();
    // The IPS label of the current slot; 16 blanks when none.
    std::string UnitsString() const;
    // The code of slot nProp; empty for nProp >= 118 or below 0.
    static const std::string& GetNthProperty(PropertySlot nProp);

    // The unit system the values are in; empty counts as "SI".
    const std::string& UnitSystem() const { return unitSystem_; }
    void setUnitSystem(std::string system) { unitSystem_ = std::move(system); }

    // Moves every value to newUnit, from the record's own system when bUserCurUnit is
    // true, else from oldUnit; the record's system becomes newUnit.
    void ChangeUnits(std::string_view oldUnit, std::string_view newUnit, bool bUserCurUnit);
    void GoToIPS(std::string_view oldUnit);
    void GoToSI(std::string_view oldUnit);
    void GoToMKS(std::string_view oldUnit);
    // Sets every held value of slots 0-117 to 0.0; the flags stay.
    void reset();

    // Appends this material's lines (header, property lines, "ENDMATL", each ended by
    // CR LF) to `out`, numbers in all three systems with "." as decimal point. An empty
    // code is first replaced (in the record too) by the first 13 characters of the
    // name; a code shorter than 13 characters is padded to 13.
    void Save(std::string& out);

    // One number formatted for the library file: exactly 11 characters.
    static std::string WriteValue(double dVal);

    // Stores the entry `value` of grid row `Row` in the material selected in the tree,
    // through the selected model type and the selected unit list position. Empty text
    // or text that is not a number clears the value.
    void Map(int Row, std::string_view value);

    // Position of the material selected in the tree; -1 when none is selected, the
    // node is a category, or the record has no host.
    int CurrentMaterial() const;

    // Clears the current slot's flag.
    void ClearValue();
    // Copy, then every value and flag of slots 0-117 of mat, without conversion.
    void CopyAllProperties(const clsMaterial& mat);
    // Copies category, name, code and description.
    void Copy(const clsMaterial& mat);
    // setProperty(PROP), then setValue(val).
    void CopyProperty(std::string_view PROP, double val);

  private:
    double ConvertedValue(PropertySlot slot, std::string_view to) const;
    void GoTo(std::string_view target, std::string_view oldUnit);
    void FixUpCode();
    void AppendPropertyLine(std::string& out, PropertySlot slot) const;

    MaterialHost* host_;
    clsUnitConversion converter_;
    std::string name_;
    std::string code_;
    std::string description_;
    std::string category_;
    std::string property_;
    std::string unitSystem_;
    PropertySlot index_ = kNoSlot;
    std::bitset<kSlotCount> hasValue_;
    std::array<double, kSlotCount> values_{};
};

// Whether `value`, given in `system` for slot `slot`, can be written in its 11-character
// field of a library file in each of the three systems and read back as a number.
bool ValueFitsLibrary(PropertySlot slot, std::string_view system, double value);

// Unit labels of a record's slots: the slot labels, with the blank label for every
// slot of the relaxation, time and WLF groups. One table shared by every record.
const UnitLabelTable& RecordUnitLabels();

}  // namespace material
