#include "BenchLibrary.h"

#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "data/LibraryFile.h"

namespace material::bench {

MessageAnswer QuietPrompts::Message(const std::string&, MessageButtons buttons, MessageIcon) {
    return buttons == MessageButtons::YesNoCancel ? MessageAnswer::No : MessageAnswer::Yes;
}

bool OneFile::ReadAll(const std::string&, std::string& bytes, FileError&) {
    bytes = text_;
    return true;
}

std::string FullLibraryText() {
    std::vector<clsMaterial> list;
    list.reserve(kLibraryCapacity);
    for (int i = 0; i < kLibraryCapacity; ++i) {
        clsMaterial& m = list.emplace_back();
        m.setMaterialType("Category " + std::to_string(i % 10) + "    ");
        m.setMaterialName("Material number " + std::to_string(i) + "  ");
        m.setMaterialDescription("A material with every property the browser knows");
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            if (!clsMaterial::GetNthProperty(s).empty()) {
                m.CopyProperty(clsMaterial::GetNthProperty(s), 1.234567e3 * (s + 1) + i);
            }
        }
    }
    return FormatLibrary(list, NumberCategories(list));
}

long long HeapBytesInUse() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);  // small and mapped blocks
#else
    return 0;
#endif
}

}  // namespace material::bench
