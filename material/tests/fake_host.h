#pragma once
// A scripted stand-in for the library window and the open library.

#include <optional>
#include <string>
#include <vector>

#include "data/Material.h"
#include "data/NumberParser.h"

namespace material::testing {

class FakeHost : public MaterialHost {
  public:
    std::string unitSystem = "SI";
    int unitListPosition = 1;
    int typeListPosition = 0;
    std::optional<TreeNode> selected;
    std::vector<clsMaterial>* materials = nullptr;
    NumberParser numbers{"."};

    std::string CurrentUnitSystem() const override { return unitSystem; }
    int UnitListPosition() const override { return unitListPosition; }
    int TypeListPosition() const override { return typeListPosition; }
    std::optional<TreeNode> SelectedNode() const override { return selected; }
    clsMaterial* MaterialAt(int position) override {
        if (materials == nullptr || position < 0 ||
            position >= static_cast<int>(materials->size())) {
            return nullptr;
        }
        return &(*materials)[static_cast<std::size_t>(position)];
    }
    const NumberParser& Numbers() const override { return numbers; }
};

}  // namespace material::testing
