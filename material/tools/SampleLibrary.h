#pragma once
// The sample material library shipped as examples/korwkmat.lib: common engineering
// materials with typical handbook values in SI, the source named in each description.

#include <vector>

#include "data/Material.h"

namespace material {

// The sample materials in file order, values in SI.
std::vector<clsMaterial> BuildSampleLibrary();

}  // namespace material
