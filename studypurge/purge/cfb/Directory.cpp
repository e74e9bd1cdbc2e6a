#include "Directory.h"

#include <algorithm>

#include "Format.h"

namespace cfb::detail {

namespace {

std::uint32_t fullLevels(std::size_t count) {
    std::uint32_t levels = 0;
    while ((std::size_t{2} << levels) - 1 <= count) {
        ++levels;
    }
    return levels;
}

std::uint32_t buildRange(const std::vector<std::uint32_t>& ids, std::size_t lo, std::size_t hi,
                         std::uint32_t depth, std::uint32_t blackLevels, BalancedTree& tree) {
    if (lo >= hi) {
        return kNoEntry;
    }
    const std::size_t mid = lo + (hi - lo) / 2;
    tree.preOrder.push_back(mid);
    const std::uint32_t left = buildRange(ids, lo, mid, depth + 1, blackLevels, tree);
    const std::uint32_t right = buildRange(ids, mid + 1, hi, depth + 1, blackLevels, tree);
    // Sibling subtrees differ by at most one entry, so every level but the last is
    // full: black above it, red on it keeps all black heights equal.
    tree.nodes[mid] = {left, right, depth < blackLevels ? kBlack : kRed};
    return ids[mid];
}

DirEntry parseEntry(const std::uint8_t* raw, std::uint16_t majorVersion) {
    DirEntry e;
    const std::uint16_t nameBytes = getU16(raw + 64);
    for (std::uint32_t u = 0; u + 1 < std::min<std::uint32_t>(nameBytes, 64) / 2; ++u) {
        e.name += static_cast<char16_t>(getU16(raw + 2 * u));
    }
    e.nameValid = nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0;
    e.type = raw[66];
    e.color = raw[67];
    e.left = getU32(raw + 68);
    e.right = getU32(raw + 72);
    e.child = getU32(raw + 76);
    e.startSector = getU32(raw + 116);
    // Version 3 writers may leave garbage in the high half of the size.
    e.size = majorVersion == 3 ? getU32(raw + 120) : getU64(raw + 120);
    return e;
}

}  // namespace

BalancedTree balanceSequence(const std::vector<std::uint32_t>& ids) {
    BalancedTree tree;
    tree.nodes.resize(ids.size());
    tree.root = buildRange(ids, 0, ids.size(), 0, fullLevels(ids.size()), tree);
    return tree;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperUnit(a[i]) != upperUnit(b[i])) {
            return false;
        }
    }
    return true;
}

bool Directory::load(SectorFile& file, const std::vector<std::uint32_t>& chain,
                     std::uint16_t majorVersion, std::string& error) {
    chain_ = chain;
    const std::uint32_t perSector = file.sectorSize() / kEntrySize;
    entries_.assign(chain.size() * perSector, DirEntry{});
    std::vector<std::uint8_t> buffer(file.sectorSize());
    for (std::size_t s = 0; s < chain.size(); ++s) {
        if (!file.readSector(chain[s], buffer.data(), error)) {
            return false;
        }
        for (std::uint32_t i = 0; i < perSector; ++i) {
            entries_[s * perSector + i] = parseEntry(buffer.data() + i * kEntrySize, majorVersion);
        }
    }
    return validateTrees(error);
}

bool Directory::validateTrees(std::string& error) {
    if (entries_.empty() || entries_[0].type != kTypeRoot) {
        error = "directory: expected the root entry (type 5) at entry 0, found type " +
                std::to_string(entries_.empty() ? 0 : entries_[0].type);
        return false;
    }
    DirEntry& root = entries_[0];
    if (root.left != kNoEntry || root.right != kNoEntry) {
        error = "directory: expected no siblings of the root entry, found links to " +
                std::to_string(root.left) + " and " + std::to_string(root.right);
        return false;
    }
    root.live = true;
    std::vector<std::uint32_t> storages{0};
    while (!storages.empty()) {
        const std::uint32_t storage = storages.back();
        storages.pop_back();
        if (!visitSiblings(storage, storages, error)) {
            return false;
        }
    }
    return true;
}

// Walks one storage's sibling tree without recursion; every entry may be reached
// once in the whole directory, so the walk is bounded by the entry count.
bool Directory::visitSiblings(std::uint32_t storageId, std::vector<std::uint32_t>& storages,
                              std::string& error) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pending{
        {storageId, entries_[storageId].child}};
    while (!pending.empty()) {
        const auto [from, id] = pending.back();
        pending.pop_back();
        if (id == kNoEntry) {
            continue;
        }
        const std::string link =
            "directory: entry " + std::to_string(from) + " links to entry " + std::to_string(id);
        if (id >= entries_.size()) {
            error = link + ", expected an entry below " + std::to_string(entries_.size());
            return false;
        }
        DirEntry& e = entries_[id];
        if (e.live) {
            error = link + ", which is reached twice (a cycle or a shared entry)";
            return false;
        }
        if (e.type != kTypeStorage && e.type != kTypeStream) {
            error = link + ", expected a storage or stream, found type " + std::to_string(e.type);
            return false;
        }
        if (!e.nameValid) {
            error = "directory: entry " + std::to_string(id) +
                    " expected a name length of 2 to 64 bytes";
            return false;
        }
        if (e.type == kTypeStream && e.child != kNoEntry) {
            error = "directory: stream entry " + std::to_string(id) +
                    " expected no children, found a link to entry " + std::to_string(e.child);
            return false;
        }
        e.live = true;
        if (e.type == kTypeStorage) {
            storages.push_back(id);
        }
        pending.emplace_back(id, e.left);
        pending.emplace_back(id, e.right);
    }
    return true;
}

bool Directory::isLiveStorage(std::uint32_t id) const {
    return id < entries_.size() && entries_[id].live &&
           (entries_[id].type == kTypeStorage || entries_[id].type == kTypeRoot);
}

bool Directory::isLiveStream(std::uint32_t id) const {
    return id < entries_.size() && entries_[id].live && entries_[id].type == kTypeStream;
}

std::vector<std::uint32_t> Directory::children(std::uint32_t storageId) const {
    std::vector<std::uint32_t> order;
    if (!isLiveStorage(storageId)) {
        return order;
    }
    std::vector<std::uint32_t> stack;
    std::uint32_t id = entries_[storageId].child;
    while (id != kNoEntry || !stack.empty()) {
        while (id != kNoEntry) {
            stack.push_back(id);
            id = entries_[id].left;
        }
        id = stack.back();
        stack.pop_back();
        order.push_back(id);
        id = entries_[id].right;
    }
    return order;
}

std::vector<std::uint32_t> Directory::withDescendants(std::uint32_t id) const {
    std::vector<std::uint32_t> all{id};
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (entries_[all[i]].type == kTypeStorage) {
            const auto kids = children(all[i]);
            all.insert(all.end(), kids.begin(), kids.end());
        }
    }
    return all;
}

std::uint64_t Directory::entryOffset(const SectorFile& file, std::uint32_t id) const {
    const std::uint32_t perSector = file.sectorSize() / kEntrySize;
    return file.sectorOffset(chain_[id / perSector]) + std::uint64_t{id % perSector} * kEntrySize;
}

std::vector<TreeWrite> planRebuild(std::uint32_t storageId, std::uint32_t root,
                                   const std::map<std::uint32_t, SiblingLinks>& links,
                                   std::uint32_t victim,
                                   const std::vector<std::uint32_t>& remaining) {
    const BalancedTree tree = balanceSequence(remaining);
    std::map<std::uint32_t, SiblingLinks> target;
    for (std::size_t i = 0; i < remaining.size(); ++i) {
        target[remaining[i]] = {tree.nodes[i].left, tree.nodes[i].right, tree.nodes[i].color};
    }
    std::map<std::uint32_t, SiblingLinks> current = links;
    std::uint32_t currentRoot = root;
    std::vector<TreeWrite> plan;
    auto setLinks = [&](std::uint32_t id, const SiblingLinks& value) {
        if (!(current.at(id) == value)) {
            current[id] = value;
            plan.push_back({id, false, value, kNoEntry});
        }
    };
    auto setRoot = [&](std::uint32_t id) {
        if (currentRoot != id) {
            currentRoot = id;
            plan.push_back({storageId, true, {kNoEntry, kNoEntry, kBlack}, id});
        }
    };
    // Only the links the new tree keeps in the same place, and the new colour.
    auto kept = [&](std::uint32_t id) {
        const SiblingLinks& now = current.at(id);
        const SiblingLinks& wanted = target.at(id);
        return SiblingLinks{now.left == wanted.left ? now.left : kNoEntry,
                            now.right == wanted.right ? now.right : kNoEntry, wanted.color};
    };
    // The victim's link goes first. When the storage links to it, the new root can take
    // its place at once: nothing reachable from there links outside its own old subtree.
    if (root == victim) {
        setRoot(tree.root);
    }
    for (std::uint32_t id : remaining) {
        if (current.at(id).left == victim || current.at(id).right == victim) {
            setLinks(id, kept(id));
        }
    }
    for (std::uint32_t id : remaining) {
        setLinks(id, kept(id));
    }
    // Every link left is one of the new tree's, so adding the others top-down never
    // gives an entry a second parent.
    setRoot(tree.root);
    for (std::size_t position : tree.preOrder) {
        setLinks(remaining[position], target.at(remaining[position]));
    }
    return plan;
}

bool Directory::unlink(std::uint32_t storageId, std::uint32_t victim, SectorFile& file,
                       std::string& error) {
    std::vector<std::uint32_t> remaining = children(storageId);
    std::map<std::uint32_t, SiblingLinks> links;
    for (std::uint32_t id : remaining) {
        links[id] = {entries_[id].left, entries_[id].right, entries_[id].color};
    }
    remaining.erase(std::find(remaining.begin(), remaining.end(), victim));
    for (const TreeWrite& w :
         planRebuild(storageId, entries_[storageId].child, links, victim, remaining)) {
        DirEntry& e = entries_[w.id];
        std::uint8_t bytes[9];
        std::uint64_t offset = entryOffset(file, w.id);
        std::size_t length = 0;
        if (w.childLink) {
            e.child = w.child;
            putU32(bytes, w.child);
            offset += 76;
            length = 4;
        } else {
            e.left = w.links.left;
            e.right = w.links.right;
            e.color = w.links.color;
            bytes[0] = e.color;
            putU32(bytes + 1, e.left);
            putU32(bytes + 5, e.right);
            offset += 67;
            length = 9;
        }
        if (!file.write(offset, bytes, length, error)) {
            return false;
        }
    }
    return true;
}

bool Directory::markUnused(std::uint32_t id, SectorFile& file, std::string& error) {
    entries_[id] = DirEntry{};
    std::uint8_t raw[kEntrySize] = {};
    putU32(raw + 68, kNoEntry);
    putU32(raw + 72, kNoEntry);
    putU32(raw + 76, kNoEntry);
    return file.write(entryOffset(file, id), raw, sizeof raw, error);
}

}  // namespace cfb::detail
