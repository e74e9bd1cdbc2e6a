#pragma once
// Third layer: the directory. Entries, the sibling trees of every storage, their
// validation, and the removal of entries from them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Format.h"
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

// The links and colour of one entry, as the sibling trees use them.
struct EntryLinks {
    std::uint32_t left;
    std::uint32_t right;
    std::uint32_t child;
    std::uint8_t color;
    bool unused;  // the entry is overwritten as unused
    bool operator==(const EntryLinks&) const = default;
};

// One entry's change in a destroy: links before and after.
struct EntryChange {
    std::uint32_t id;
    EntryLinks before;
    EntryLinks after;
};

// One write of a destroy: the entries of one directory sector, with the links each
// is to have after that write.
struct SectorWrite {
    std::uint32_t sector;  // position in the directory chain
    std::vector<std::pair<std::uint32_t, EntryLinks>> entries;
};

// Orders the writes of a destroy so that after every single write the entries
// reachable from the storage form a tree (no cycle, no entry reached twice) without
// any unused entry: a link to an entry is written only once the entry's old parent
// has dropped it, or has itself become unreachable. `victim` leaves through its
// parent's link; `gone` entries become unused. Most sectors are written once; a
// sector whose new links must wait for another sector is written a second time.
std::vector<SectorWrite> planSectorWrites(const std::vector<EntryChange>& changes,
                                          std::uint32_t victim, std::uint32_t entriesPerSector);

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

    // The entry's 128 bytes as they stand in the file.
    const std::uint8_t* rawEntry(std::uint32_t id) const {
        return raw_.data() + std::size_t{id} * kEntrySize;
    }

    // The first child of that name in the in-order sequence: a search down the tree
    // when the siblings are in the format's name order, else a walk over them all.
    std::uint32_t findChild(std::uint32_t storageId, std::u16string_view name) const;

    // Takes `victim` out of the storage's tree by a red-black deletion that keeps the
    // in-order sequence (a tree that is no valid red-black tree is rebuilt balanced
    // instead, once), and overwrites it and everything below it as unused. Each
    // changed directory sector is written as planSectorWrites() says.
    bool removeEntry(std::uint32_t storageId, std::uint32_t victim, SectorFile& file,
                     std::string& error);

    // Link edits of one removal (defined with the removal).
    class TreeEdit;

  private:
    bool isRedBlack(std::uint32_t storageId) const;
    bool isOrdered(std::uint32_t storageId) const;
    void rebuildBalanced(std::uint32_t storageId, std::uint32_t victim, TreeEdit& edit);
    bool writeSectors(const std::vector<SectorWrite>& writes, SectorFile& file, std::string& error);
    void applyLinks(std::uint32_t id, const EntryLinks& links);

    bool validateTrees(std::string& error);
    bool visitSiblings(std::uint32_t storageId, std::vector<std::uint32_t>& storages,
                       std::string& error);

    std::vector<DirEntry> entries_;
    std::vector<std::uint32_t> parent_;  // the entry whose link reaches this one
    std::vector<std::uint8_t> raw_;      // the directory sectors as read and written
    std::vector<std::uint32_t> chain_;
    std::vector<bool> redBlack_;  // storages whose tree is known to be red-black
    // Per storage: whether its children are in the format's name order, once known.
    enum : std::uint8_t { kOrderUnknown, kOrdered, kUnordered };
    mutable std::vector<std::uint8_t> order_;
    std::uint32_t sectorSize_ = 512;
};

}  // namespace cfb::detail
