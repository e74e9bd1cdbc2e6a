// Linux: test documents are written by the compound-file test writer.
#include <algorithm>
#include <map>

#include "DocumentFiles.h"
#include "cfb_writer.h"

namespace clitest {

bool writeDocument(const std::string& path, const std::vector<Item>& items, std::string& error) {
    cfbtest::Node root = cfbtest::storage(u"Root Entry");
    for (const Item& item : items) {
        cfbtest::Node* at = &root;
        std::size_t from = 0;
        for (;;) {
            const std::size_t slash = item.path.find('/', from);
            const std::string part = item.path.substr(from, slash - from);
            const std::u16string name(part.begin(), part.end());
            auto it = std::find_if(at->children.begin(), at->children.end(),
                                   [&](const cfbtest::Node& n) { return n.name == name; });
            if (it == at->children.end()) {
                const bool last = slash == std::string::npos;
                at->children.push_back(
                    last && item.size >= 0
                        ? cfbtest::stream(name, std::vector<std::uint8_t>(
                                                    static_cast<std::size_t>(item.size), 0x41))
                        : cfbtest::storage(name));
                it = at->children.end() - 1;
            }
            if (slash == std::string::npos) {
                break;
            }
            at = &*it;
            from = slash + 1;
        }
    }
    cfbtest::Layout layout;
    return cfbtest::writeCompoundFile(path, root, {}, layout, error);
}

}  // namespace clitest
