#include "app/TreeFilter.h"

#include <algorithm>

#include "data/Text.h"

namespace material {

namespace {

bool SameLetter(char a, char b) {
    return text::UpperCp1252(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
}

}  // namespace

MaterialFilter::MaterialFilter(const EncodedText& typed)
    : active_(!typed.bytes.empty()), matchesNothing_(!typed.complete()) {
    upper_.reserve(typed.bytes.size());
    for (const char c : typed.bytes) {
        upper_ += static_cast<char>(text::UpperCp1252(static_cast<unsigned char>(c)));
    }
}

bool MaterialFilter::Contains(std::string_view text) const {
    return std::search(text.begin(), text.end(), upper_.begin(), upper_.end(), SameLetter) !=
           text.end();
}

bool MaterialFilter::Shows(const MaterialEntry& entry, const clsMaterial& record) const {
    if (!active_) {
        return true;
    }
    if (matchesNothing_) {
        return false;
    }
    return Contains(entry.nameText) || Contains(entry.code) ||
           Contains(record.MaterialNameCode()) || Contains(entry.description) ||
           Contains(text::Trim(entry.categoryKey));
}

bool MaterialFilter::ShowsEmptyCategory(std::string_view categoryKey) const {
    return !active_ || (!matchesNothing_ && Contains(text::Trim(categoryKey)));
}

CategoryFiltering FilterCategory(const MaterialFilter& filter, const LibraryContent& content,
                                 std::string_view categoryKey,
                                 const std::vector<int>& childPositions, bool expanded) {
    CategoryFiltering result;
    int shown = 0;
    for (const int position : childPositions) {
        const auto p = static_cast<std::size_t>(position);
        const bool show = position < 0 || filter.Shows(content.entries[p], content.materials[p]);
        result.childShown.push_back(show);
        shown += show ? 1 : 0;
    }
    result.shown = shown > 0 || (childPositions.empty() && filter.ShowsEmptyCategory(categoryKey));
    result.expand = filter.Active() && shown > 0 && !expanded;
    return result;
}

}  // namespace material
