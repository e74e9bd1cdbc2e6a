#pragma once
// The content of one material library as the library file reader fills it and the
// writer takes it.

#include <array>
#include <string>
#include <vector>

#include "Material.h"

namespace material {

// The library holds materials at positions 0-1000.
inline constexpr int kLibraryCapacity = 1001;

// Per material: the texts of its tree nodes and the first eleven values read.
struct MaterialEntry {
    std::string categoryKey;  // category name followed by four blanks
    std::string code;         // the 13-character code as read
    std::string nameText;     // name followed by two blanks
    std::string description;
    std::array<double, 11> values{};
};

// Materials, their twins and their entries, all at the same positions.
struct LibraryContent {
    std::vector<clsMaterial> materials;
    std::vector<clsMaterial> twins;
    std::vector<MaterialEntry> entries;

    // Position of the last material; -1 when there is none.
    int lastPosition() const { return static_cast<int>(materials.size()) - 1; }
};

}  // namespace material
