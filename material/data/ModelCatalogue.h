#pragma once
// The thirteen material model types and the property rows each of them shows. The
// model type is a view: it decides which slots are shown, never what a record holds.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "units/SlotTable.h"

namespace material {

inline constexpr int kModelTypeCount = 13;

// Display names in type-list order; the position is the model type.
inline constexpr std::array<std::string_view, kModelTypeCount> kModelTypeNames = {
    "Linear Elastic Isotropic",
    "Linear Elastic Orthotropic",
    "Linear Elastic Anisotropic",
    "Nonlinear Elastic",
    "von Mises Plasticity (kinematic)",
    "von Mises Plasticity (isotropic)",
    "Tresca Plasticity (kinematic)",
    "Tresca Plasticity (isotropic)",
    "Drucker Prager Plasticity",
    "Mooney Rivlin HyperElastic",
    "Ogden HyperElastic",
    "Blatz Ko HyperElastic",
    "Viscoelastic",
};

// The slots of a type's property rows, in row order (element 0 is grid row 1). Types
// 5-7 share the list of type 4; a type outside 0-12 has no rows.
const std::vector<PropertySlot>& ModelRows(int modelType);

// The slot that grid row `row` (from 1) edits under `modelType`; kNoSlot when the row
// is not one of the type's rows. For type 2 every row from 22 on is the density row.
PropertySlot ResolveRow(int modelType, int row);

}  // namespace material
