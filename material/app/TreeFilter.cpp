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

}  // namespace material
