#pragma once
// Per-slot conversion of material values between the IPS, SI and MKS systems.

#include <array>
#include <string_view>

#include "SlotTable.h"

namespace material {

// One converter per material record. Its factor tables hold, per slot, the value in
// SI (SiPerIps) and in MKS (MksPerIps) of one unit of the IPS system. The tables are
// the same for every converter, so all converters share one immutable copy.
class clsUnitConversion {
  public:
    using FactorTable = std::array<double, kSlotCount>;

    clsUnitConversion();

    // `value`, given in `oldUnit`, converted to `newUnit` for the property in slot
    // `nElm`. An unknown system on either side, or a slot outside 0-118, returns the
    // value unchanged. SI<->MKS goes through IPS, dividing first and multiplying second.
    double ChangeUnits(std::string_view oldUnit, std::string_view newUnit, PropertySlot nElm,
                       double value) const;

    const FactorTable& SiPerIps() const { return *siPerIps_; }
    const FactorTable& MksPerIps() const { return *mksPerIps_; }

  private:
    double ConvertToSI(std::string_view oldUnit, PropertySlot nElm, double value) const;
    double ConvertToIPS(std::string_view oldUnit, PropertySlot nElm, double value) const;
    double ConvertToMKS(std::string_view oldUnit, PropertySlot nElm, double value) const;
    double IpsToSi(PropertySlot s, double value) const;
    double SiToIps(PropertySlot s, double value) const;
    double IpsToMks(PropertySlot s, double value) const;
    double MksToIps(PropertySlot s, double value) const;
    double SiToMks(PropertySlot s, double value) const;
    double MksToSi(PropertySlot s, double value) const;

    const FactorTable* siPerIps_;
    const FactorTable* mksPerIps_;
};

}  // namespace material
