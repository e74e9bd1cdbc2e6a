#include "Directory.h"

#include <algorithm>
#include <map>
#include <set>

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
    sectorSize_ = file.sectorSize();
    const std::uint32_t perSector = sectorSize_ / kEntrySize;
    entries_.assign(chain.size() * perSector, DirEntry{});
    parent_.assign(entries_.size(), kNoEntry);
    redBlack_.assign(entries_.size(), false);
    order_.assign(entries_.size(), kOrderUnknown);
    raw_.resize(chain.size() * std::size_t{sectorSize_});
    for (std::size_t s = 0; s < chain.size(); ++s) {
        std::uint8_t* sector = raw_.data() + s * sectorSize_;
        if (!file.readSector(chain[s], sector, error)) {
            return false;
        }
        for (std::uint32_t i = 0; i < perSector; ++i) {
            entries_[s * perSector + i] = parseEntry(sector + i * kEntrySize, majorVersion);
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
        auto link = [from = from, id = id] {
            return "directory: entry " + std::to_string(from) + " links to entry " +
                   std::to_string(id);
        };
        if (id >= entries_.size()) {
            error = link() + ", expected an entry below " + std::to_string(entries_.size());
            return false;
        }
        DirEntry& e = entries_[id];
        if (e.live) {
            error = link() + ", which is reached twice (a cycle or a shared entry)";
            return false;
        }
        if (e.type != kTypeStorage && e.type != kTypeStream) {
            error = link() + ", expected a storage or stream, found type " + std::to_string(e.type);
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
        parent_[id] = from;
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

namespace {

// The format's order of sibling names: shorter names first, then by upper-cased units.
int compareNames(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t x = upperUnit(a[i]);
        const char16_t y = upperUnit(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

}  // namespace

bool Directory::isOrdered(std::uint32_t storageId) const {
    if (order_[storageId] == kOrderUnknown) {
        const std::vector<std::uint32_t> kids = children(storageId);
        bool ordered = true;
        for (std::size_t i = 1; i < kids.size() && ordered; ++i) {
            ordered = compareNames(entries_[kids[i - 1]].name, entries_[kids[i]].name) < 0;
        }
        order_[storageId] = ordered ? kOrdered : kUnordered;
    }
    return order_[storageId] == kOrdered;
}

std::uint32_t Directory::findChild(std::uint32_t storageId, std::u16string_view name) const {
    if (!isLiveStorage(storageId)) {
        return kNoEntry;
    }
    // Siblings in the format's order with no name twice: a search down the tree finds
    // the one match. Removals keep the order, so the answer stays valid.
    if (isOrdered(storageId)) {
        for (std::uint32_t id = entries_[storageId].child; id != kNoEntry;) {
            const int order = compareNames(name, entries_[id].name);
            if (order == 0) {
                return id;
            }
            id = order < 0 ? entries_[id].left : entries_[id].right;
        }
        return kNoEntry;
    }
    // Otherwise the first of that name in the in-order sequence.
    for (std::uint32_t id : children(storageId)) {
        if (sameName(entries_[id].name, name)) {
            return id;
        }
    }
    return kNoEntry;
}

// Link edits of one destroy on the entries in memory, remembering each changed
// entry's links before its first change.
class Directory::TreeEdit {
  public:
    TreeEdit(Directory& dir, std::uint32_t storageId) : dir_(dir), storage_(storageId) {}

    std::uint32_t left(std::uint32_t id) const { return id == kNoEntry ? kNoEntry : e(id).left; }
    std::uint32_t right(std::uint32_t id) const { return id == kNoEntry ? kNoEntry : e(id).right; }
    std::uint32_t parent(std::uint32_t id) const { return dir_.parent_[id]; }
    bool isStorage(std::uint32_t id) const { return id == storage_; }
    bool isRoot(std::uint32_t id) const { return parent(id) == storage_; }
    // Missing entries count as black.
    bool red(std::uint32_t id) const { return id != kNoEntry && e(id).color == kRed; }

    void setLeft(std::uint32_t id, std::uint32_t to) { touch(id).left = to, adopt(id, to); }
    void setRight(std::uint32_t id, std::uint32_t to) { touch(id).right = to, adopt(id, to); }
    void setColor(std::uint32_t id, std::uint8_t color) {
        if (id != kNoEntry && e(id).color != color) {
            touch(id).color = color;
        }
    }
    void setRoot(std::uint32_t to) { touch(storage_).child = to, adopt(storage_, to); }
    void markUnused(std::uint32_t id) {
        touch(id);
        unused_.insert(id);
    }

    // Puts `to` (possibly none) where `from` hangs under its parent.
    void replace(std::uint32_t from, std::uint32_t to) {
        const std::uint32_t p = parent(from);
        if (p == storage_) {
            setRoot(to);
        } else if (left(p) == from) {
            setLeft(p, to);
        } else {
            setRight(p, to);
        }
    }
    void rotateLeft(std::uint32_t a) {
        const std::uint32_t b = right(a);
        setRight(a, left(b));
        replace(a, b);
        setLeft(b, a);
    }
    void rotateRight(std::uint32_t a) {
        const std::uint32_t b = left(a);
        setLeft(a, right(b));
        replace(a, b);
        setRight(b, a);
    }

    std::vector<EntryChange> changes() const {
        std::vector<EntryChange> out;
        for (const auto& [id, before] : before_) {
            const bool gone = unused_.count(id) > 0;
            const DirEntry& now = e(id);
            const EntryLinks after =
                gone ? EntryLinks{kNoEntry, kNoEntry, kNoEntry, 0, true}
                     : EntryLinks{now.left, now.right, now.child, now.color, false};
            if (!(after == before)) {
                out.push_back({id, before, after});
            }
        }
        return out;
    }

  private:
    DirEntry& e(std::uint32_t id) const { return dir_.entries_[id]; }
    DirEntry& touch(std::uint32_t id) {
        DirEntry& entry = e(id);
        before_.try_emplace(id,
                            EntryLinks{entry.left, entry.right, entry.child, entry.color, false});
        return entry;
    }
    void adopt(std::uint32_t parentId, std::uint32_t child) {
        if (child != kNoEntry) {
            dir_.parent_[child] = parentId;
        }
    }

    Directory& dir_;
    std::uint32_t storage_;
    std::map<std::uint32_t, EntryLinks> before_;
    std::set<std::uint32_t> unused_;
};

namespace {

// Restores the red-black properties after a black entry left the tree; `x` (possibly
// none) stands where it was, below `parent`, on the side `xIsLeft`.
void fixAfterRemoval(Directory::TreeEdit& t, std::uint32_t x, std::uint32_t parent, bool xIsLeft);

}  // namespace

bool Directory::isRedBlack(std::uint32_t storageId) const {
    const std::uint32_t root = entries_[storageId].child;
    if (root == kNoEntry || redBlack_[storageId]) {
        return true;
    }
    if (entries_[root].color != kBlack) {
        return false;
    }
    // Black height of every subtree, children before parents.
    struct Item {
        std::uint32_t id;
        bool expanded;
    };
    std::vector<Item> stack{{root, false}};
    std::map<std::uint32_t, int> height;
    auto heightOf = [&](std::uint32_t id) { return id == kNoEntry ? 0 : height.at(id); };
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        const DirEntry& e = entries_[item.id];
        if (!item.expanded) {
            stack.push_back({item.id, true});
            for (std::uint32_t kid : {e.left, e.right}) {
                if (kid != kNoEntry) {
                    stack.push_back({kid, false});
                }
            }
            continue;
        }
        const bool red = e.color == kRed;
        for (std::uint32_t kid : {e.left, e.right}) {
            if (red && kid != kNoEntry && entries_[kid].color == kRed) {
                return false;
            }
        }
        if (heightOf(e.left) != heightOf(e.right)) {
            return false;
        }
        height[item.id] = heightOf(e.left) + (red ? 0 : 1);
    }
    return true;
}

// Gives the remaining children of the storage the links of a balanced, validly
// coloured tree over their in-order sequence.
void Directory::rebuildBalanced(std::uint32_t storageId, std::uint32_t victim, TreeEdit& edit) {
    std::vector<std::uint32_t> remaining = children(storageId);
    remaining.erase(std::find(remaining.begin(), remaining.end(), victim));
    const BalancedTree tree = balanceSequence(remaining);
    edit.setRoot(tree.root);
    for (std::size_t i = 0; i < remaining.size(); ++i) {
        edit.setLeft(remaining[i], tree.nodes[i].left);
        edit.setRight(remaining[i], tree.nodes[i].right);
        edit.setColor(remaining[i], tree.nodes[i].color);
    }
}

namespace {

// The classic red-black deletion, on links only: the in-order sequence of the other
// entries stays as it was.
void removeRedBlack(Directory::TreeEdit& t, std::uint32_t z) {
    std::uint32_t x = kNoEntry;
    std::uint32_t xParent = kNoEntry;
    bool xIsLeft = false;
    bool removedBlack = !t.red(z);
    if (t.left(z) == kNoEntry || t.right(z) == kNoEntry) {
        x = t.left(z) == kNoEntry ? t.right(z) : t.left(z);
        xParent = t.parent(z);
        xIsLeft = !t.isRoot(z) && t.left(xParent) == z;
        t.replace(z, x);
    } else {
        std::uint32_t y = t.right(z);
        while (t.left(y) != kNoEntry) {
            y = t.left(y);
        }
        removedBlack = !t.red(y);
        x = t.right(y);
        if (t.parent(y) == z) {
            xParent = y;
            xIsLeft = false;
        } else {
            xParent = t.parent(y);
            xIsLeft = true;
            t.replace(y, x);
            t.setRight(y, t.right(z));
        }
        t.replace(z, y);
        t.setLeft(y, t.left(z));
        t.setColor(y, t.red(z) ? kRed : kBlack);
    }
    if (removedBlack) {
        fixAfterRemoval(t, x, xParent, xIsLeft);
    }
}

void fixAfterRemoval(Directory::TreeEdit& t, std::uint32_t x, std::uint32_t parent, bool xIsLeft) {
    // x carries an extra black; it moves up until a red entry or the root absorbs it.
    while (!t.isStorage(parent) && !t.red(x)) {
        std::uint32_t w = xIsLeft ? t.right(parent) : t.left(parent);
        if (w == kNoEntry) {
            break;  // cannot happen in a valid tree
        }
        auto near = [&](std::uint32_t id) { return xIsLeft ? t.left(id) : t.right(id); };
        auto far = [&](std::uint32_t id) { return xIsLeft ? t.right(id) : t.left(id); };
        auto rotateTowardsX = [&](std::uint32_t id) {
            xIsLeft ? t.rotateLeft(id) : t.rotateRight(id);
        };
        auto rotateAwayFromX = [&](std::uint32_t id) {
            xIsLeft ? t.rotateRight(id) : t.rotateLeft(id);
        };
        if (t.red(w)) {
            t.setColor(w, kBlack);
            t.setColor(parent, kRed);
            rotateTowardsX(parent);
            w = far(parent);
            if (w == kNoEntry) {
                break;
            }
        }
        if (!t.red(near(w)) && !t.red(far(w))) {
            t.setColor(w, kRed);
            x = parent;
            parent = t.parent(x);
            xIsLeft = !t.isStorage(parent) && t.left(parent) == x;
            continue;
        }
        if (!t.red(far(w))) {
            t.setColor(near(w), kBlack);
            t.setColor(w, kRed);
            rotateAwayFromX(w);
            w = far(parent);
        }
        t.setColor(w, t.red(parent) ? kRed : kBlack);
        t.setColor(parent, kBlack);
        t.setColor(far(w), kBlack);
        rotateTowardsX(parent);
        return;
    }
    t.setColor(x, kBlack);
}

}  // namespace

std::vector<SectorWrite> planSectorWrites(const std::vector<EntryChange>& changes,
                                          std::uint32_t victim, std::uint32_t entriesPerSector) {
    // Who linked to each entry before the destroy, among the changed entries.
    std::map<std::uint32_t, std::uint32_t> oldParent;
    for (const EntryChange& c : changes) {
        for (std::uint32_t to : {c.before.left, c.before.right, c.before.child}) {
            if (to != kNoEntry) {
                oldParent[to] = c.id;
            }
        }
    }
    std::map<std::uint32_t, std::vector<const EntryChange*>> bySector;
    std::map<std::uint32_t, const EntryChange*> byId;
    for (const EntryChange& c : changes) {
        bySector[c.id / entriesPerSector].push_back(&c);
        byId[c.id] = &c;
    }
    // The sector that unlinks the victim; what hangs below the victim is unreachable
    // once it is written, and may be overwritten as unused from then on.
    const std::uint32_t unlinking = oldParent.at(victim) / entriesPerSector;
    std::set<std::uint32_t> dropped;  // entries no reachable parent links to any more
    bool victimUnlinked = false;
    auto mayLink = [&](std::uint32_t to, std::uint32_t from) {
        const auto old = oldParent.find(to);
        return old == oldParent.end() || old->second == from || dropped.count(to) > 0 ||
               (victimUnlinked && old->second == victim);
    };
    auto complete = [&](std::uint32_t sector) {
        for (const EntryChange* c : bySector.at(sector)) {
            if (c->after.unused && !victimUnlinked && sector != unlinking) {
                return false;
            }
            for (std::uint32_t to : {c->after.left, c->after.right, c->after.child}) {
                if (to != kNoEntry && !mayLink(to, c->id)) {
                    return false;
                }
            }
        }
        return true;
    };
    // The links kept from before, and the new ones that may be written already.
    auto partial = [&](const EntryChange& c) {
        if (c.after.unused) {
            return victimUnlinked ? c.after : c.before;
        }
        EntryLinks l = c.after;
        auto keep = [&](std::uint32_t before, std::uint32_t after) {
            return before == after || (after != kNoEntry && mayLink(after, c.id)) ? after
                                                                                  : kNoEntry;
        };
        l.left = keep(c.before.left, c.after.left);
        l.right = keep(c.before.right, c.after.right);
        l.child = keep(c.before.child, c.after.child);
        return l;
    };
    // Marks what a written sector no longer links to.
    auto drop = [&](const SectorWrite& write) {
        for (const auto& [id, now] : write.entries) {
            const EntryChange& c =
                *std::find_if(changes.begin(), changes.end(),
                              [id = id](const EntryChange& e) { return e.id == id; });
            for (std::uint32_t to : {c.before.left, c.before.right, c.before.child}) {
                if (to != kNoEntry && to != now.left && to != now.right && to != now.child) {
                    dropped.insert(to);
                }
            }
        }
        victimUnlinked = victimUnlinked || dropped.count(victim) > 0;
    };
    std::vector<SectorWrite> writes;
    std::set<std::uint32_t> left;
    for (const auto& [sector, entries] : bySector) {
        left.insert(sector);
    }
    std::set<std::uint32_t> halfWritten;
    while (!left.empty()) {
        // One pass over the waiting sectors writes every one that may be written whole.
        bool progress = false;
        for (auto it = left.begin(); it != left.end();) {
            if (!complete(*it)) {
                ++it;
                continue;
            }
            SectorWrite write{*it, {}};
            for (const EntryChange* c : bySector.at(*it)) {
                write.entries.emplace_back(c->id, c->after);
            }
            drop(write);
            writes.push_back(std::move(write));
            it = left.erase(it);
            progress = true;
        }
        if (progress || left.empty()) {
            continue;
        }
        // Every sector waits for another: write the one that leaves out the fewest new
        // links, with its old links dropped. Leaving out the storage's own link would
        // hide every sibling until the second write, so it costs most.
        auto deferred = [&](std::uint32_t sector) {
            std::size_t cost = 0;
            for (const EntryChange* c : bySector.at(sector)) {
                const EntryLinks now = partial(*c);
                cost += (now.left != c->after.left) + (now.right != c->after.right) +
                        1000 * (now.child != c->after.child) + 1000000 * (now == c->before);
            }
            return cost;
        };
        auto halfWrite = [&](std::set<std::uint32_t>::iterator it) {
            const std::uint32_t sector = *it;
            SectorWrite write{sector, {}};
            const bool again = halfWritten.count(sector) > 0;
            for (const EntryChange* c : bySector.at(sector)) {
                write.entries.emplace_back(c->id, again ? c->after : partial(*c));
            }
            drop(write);
            halfWritten.insert(sector);
            writes.push_back(std::move(write));
            return again ? left.erase(it) : std::next(it);
        };
        // Cheap ones all at once, so that a large rebuild needs few rounds.
        bool wrote = false;
        for (auto it = left.begin(); it != left.end();) {
            if (!halfWritten.count(*it) && deferred(*it) < 1000) {
                it = halfWrite(it);
                wrote = true;
            } else {
                ++it;
            }
        }
        if (wrote) {
            continue;
        }
        auto pick = left.end();
        for (auto it = left.begin(); it != left.end(); ++it) {
            if (!halfWritten.count(*it) &&
                (pick == left.end() || deferred(*it) < deferred(*pick))) {
                pick = it;
            }
        }
        // With every sector half written, every old link is dropped: nothing waits.
        halfWrite(pick == left.end() ? left.begin() : pick);
    }
    return writes;
}

void Directory::applyLinks(std::uint32_t id, const EntryLinks& links) {
    std::uint8_t* raw = raw_.data() + std::size_t{id / (sectorSize_ / kEntrySize)} * sectorSize_ +
                        std::size_t{id % (sectorSize_ / kEntrySize)} * kEntrySize;
    if (links.unused) {
        std::fill(raw, raw + kEntrySize, std::uint8_t{0});
    }
    raw[67] = links.color;
    putU32(raw + 68, links.left);
    putU32(raw + 72, links.right);
    putU32(raw + 76, links.child);
}

bool Directory::writeSectors(const std::vector<SectorWrite>& writes, SectorFile& file,
                             std::string& error) {
    std::vector<std::uint8_t> before(sectorSize_);
    for (const SectorWrite& w : writes) {
        std::uint8_t* sector = raw_.data() + std::size_t{w.sector} * sectorSize_;
        std::copy(sector, sector + sectorSize_, before.begin());
        for (const auto& [id, links] : w.entries) {
            applyLinks(id, links);
        }
        // One write per sector, of the bytes from the first changed one to the last.
        std::size_t first = 0;
        while (first < sectorSize_ && sector[first] == before[first]) {
            ++first;
        }
        std::size_t end = sectorSize_;
        while (end > first && sector[end - 1] == before[end - 1]) {
            --end;
        }
        if (first < end && !file.write(file.sectorOffset(chain_[w.sector]) + first, sector + first,
                                       end - first, error)) {
            return false;
        }
    }
    return true;
}

bool Directory::removeEntry(std::uint32_t storageId, std::uint32_t victim, SectorFile& file,
                            std::string& error) {
    TreeEdit edit(*this, storageId);
    if (isRedBlack(storageId)) {
        removeRedBlack(edit, victim);
    } else {
        rebuildBalanced(storageId, victim, edit);
    }
    const std::vector<std::uint32_t> gone = withDescendants(victim);
    for (std::uint32_t id : gone) {
        edit.markUnused(id);
    }
    const auto writes = planSectorWrites(edit.changes(), victim, sectorSize_ / kEntrySize);
    for (std::uint32_t id : gone) {
        entries_[id] = DirEntry{};
        parent_[id] = kNoEntry;
    }
    redBlack_[storageId] = true;
    return writeSectors(writes, file, error);
}

}  // namespace cfb::detail
