#pragma once
// Third layer: the directory. Entries, the sibling trees of every storage, their
// validation, and the rebuilding of a storage's tree after an entry leaves it.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "SectorFile.h"

namespace cfb::detail {

enum : std::uint8_t { kTypeUnused = 0, kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5 };
enum : std::uint8_t { kRed = 0, kBlack = 1 };

struct DirEntry {
    std::u16string name;
    std::uint8_t type = kTypeUnused;
    std::uint8_t color = kBlack;
    std::uint32_t left = 0xFFFFFFFF;
    std::uint32_t right = 0xFFFFFFFF;
    std::uint32_t child = 0xFFFFFFFF;
    std::uint32_t startSector = 0;
    std::uint64_t size = 0;  // version 3 files keep only the low 32 bits
    bool nameValid = true;   // the stored name length is one the format allows
    bool live = false;       // reachable from the root
};

// A balanced, validly coloured binary tree over a sequence of entry ids, keeping
// their order as the in-order sequence.
struct BalancedTree {
    struct Node {
        std::uint32_t left;
        std::uint32_t right;
        std::uint8_t color;
    };
    std::uint32_t root = 0xFFFFFFFF;
    std::vector<Node> nodes;            // by position in the sequence
    std::vector<std::size_t> preOrder;  // positions, parents before children
};
BalancedTree balanceSequence(const std::vector<std::uint32_t>& ids);

struct SiblingLinks {
    std::uint32_t left;
    std::uint32_t right;
    std::uint8_t color;
    bool operator==(const SiblingLinks&) const = default;
};

// One write of a tree rebuild: a sibling's links and colour, or the storage's child link.
struct TreeWrite {
    std::uint32_t id;
    bool childLink;
    SiblingLinks links;   // when not childLink
    std::uint32_t child;  // when childLink
};

// The writes that take a storage's sibling tree (child link `root`; `links` of every
// sibling, the victim's included) to the balanced tree over `remaining`. After every
// single write the entries reachable from the storage form a tree, with no cycle and
// no entry reached twice, and from the first write on the victim is not reachable.
// No order of single-entry writes can also keep every sibling reachable throughout,
// so siblings are detached first and attached again top-down.
std::vector<TreeWrite> planRebuild(std::uint32_t storageId, std::uint32_t root,
                                   const std::map<std::uint32_t, SiblingLinks>& links,
                                   std::uint32_t victim,
                                   const std::vector<std::uint32_t>& remaining);

// Simple upper-casing of one UTF-16 unit (Unicode simple uppercase mapping), as
// names are compared.
char16_t upperUnit(char16_t unit);
bool sameName(std::u16string_view a, std::u16string_view b);

class Directory {
  public:
    // Reads the entries from the directory `chain` and validates every sibling tree
    // reachable from the root.
    bool load(SectorFile& file, const std::vector<std::uint32_t>& chain, std::uint16_t majorVersion,
              std::string& error);

    std::size_t size() const { return entries_.size(); }
    const DirEntry& entry(std::uint32_t id) const { return entries_[id]; }
    bool isLiveStorage(std::uint32_t id) const;
    bool isLiveStream(std::uint32_t id) const;

    // The children of a storage in the tree's in-order sequence.
    std::vector<std::uint32_t> children(std::uint32_t storageId) const;
    // The entry and everything below it, the entry first.
    std::vector<std::uint32_t> withDescendants(std::uint32_t id) const;

    // Takes `victim` out of the storage's tree and rebuilds the tree from the
    // remaining children in their order, writing as planRebuild() says.
    bool unlink(std::uint32_t storageId, std::uint32_t victim, SectorFile& file,
                std::string& error);
    // Overwrites the entry as unused and forgets it.
    bool markUnused(std::uint32_t id, SectorFile& file, std::string& error);

  private:
    bool validateTrees(std::string& error);
    bool visitSiblings(std::uint32_t storageId, std::vector<std::uint32_t>& storages,
                       std::string& error);
    std::uint64_t entryOffset(const SectorFile& file, std::uint32_t id) const;

    std::vector<DirEntry> entries_;
    std::vector<std::uint32_t> chain_;
};

}  // namespace cfb::detail
