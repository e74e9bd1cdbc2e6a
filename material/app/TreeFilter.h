// The filter of the library window's tree: which materials a typed text shows. The
// tree shows a material when its name, code, description or category contains the
// text, letter case aside, and a category while it shows one of its materials. The
// library itself (its order, its file) is never touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/Cp1252.h"
#include "data/Library.h"

namespace material {

class MaterialFilter {
  public:
    // `typed`: the filter field's text in the library's code page.
    explicit MaterialFilter(const EncodedText& typed);

    // Whether the filter hides anything at all (its text is not empty).
    bool Active() const { return active_; }
    // Whether the tree shows the material with this entry and record.
    bool Shows(const MaterialEntry& entry, const clsMaterial& record) const;
    // Whether the tree shows a category that holds no material.
    bool ShowsEmptyCategory(std::string_view categoryKey) const;

  private:
    bool Contains(std::string_view text) const;

    std::string upper_;  // the text in upper case
    bool active_ = false;
    bool matchesNothing_ = false;  // the text holds a character no library text holds
};

// What the filter does to one category node of the tree.
struct CategoryFiltering {
    std::vector<bool> childShown;  // per child node, in the tree's order
    bool shown = true;
    bool expand = false;  // the materials found in it are brought into view
};

// Filters the category `categoryKey` whose child nodes hold the materials at
// `childPositions` of `content` (-1: a node that is no material, always shown);
// `expanded` tells whether the category is open now.
CategoryFiltering FilterCategory(const MaterialFilter& filter, const LibraryContent& content,
                                 std::string_view categoryKey,
                                 const std::vector<int>& childPositions, bool expanded);

}  // namespace material
