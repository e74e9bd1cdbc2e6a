#pragma once
// Third layer: the directory. Entries, the sibling trees of every storage, their
// validation, and the rebuilding of a storage's tree after an entry leaves it.

#include <cstdint>
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
    std::vector<Node> nodes;             // by position in the sequence
    std::vector<std::size_t> postOrder;  // positions, children before parents
};
BalancedTree balanceSequence(const std::vector<std::uint32_t>& ids);

// Simple upper-casing of one UTF-16 unit, as names are compared.
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

    // Rebuilds the storage's tree over `sequence`. Writes each changed entry after
    // all entries below it in the new tree and the storage's child link last, so
    // that no write ever makes the links cyclic.
    bool relink(std::uint32_t storageId, const std::vector<std::uint32_t>& sequence,
                SectorFile& file, std::string& error);
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
