#pragma once
// Second layer: an allocation table (the FAT over file sectors, or the mini FAT over
// mini stream sectors). It walks chains, refusing cycles, sectors out of range and
// sectors that two owners claim, and frees chains by writing only the changed entries.

#include <cstdint>
#include <string>
#include <vector>

#include "Header.h"
#include "SectorFile.h"

namespace cfb::detail {

// Who holds a sector: a directory entry number, or one of the file's own tables.
enum Owner : std::uint32_t {
    kOwnerNone = 0xFFFFFFFF,
    kOwnerFat = 0xFFFFFFF0,
    kOwnerDifat = 0xFFFFFFF1,
    kOwnerDirectory = 0xFFFFFFF2,
    kOwnerMiniFat = 0xFFFFFFF3,
    kOwnerMiniStream = 0xFFFFFFF4,
};
std::string ownerName(std::uint32_t owner);

class AllocationTable {
  public:
    AllocationTable() = default;
    // `entries` as read from the `holders` (file sectors, in table order);
    // `limit` sectors exist to be pointed at.
    AllocationTable(std::string name, std::vector<std::uint32_t> entries,
                    std::vector<std::uint32_t> holders, std::uint32_t limit);

    // Walks the chain from `start` and claims every sector of it for `owner`.
    bool claimChain(std::uint32_t start, std::uint32_t owner, std::vector<std::uint32_t>& chain,
                    std::string& error);
    // Claims one sector that the table does not chain (FAT and DIFAT sectors).
    bool claimSector(std::uint32_t sector, std::uint32_t owner, std::string& error);
    // The chain of an already claimed, valid start sector.
    std::vector<std::uint32_t> chain(std::uint32_t start) const;

    // Marks the sectors free, in memory and in the file.
    bool release(const std::vector<std::uint32_t>& sectors, SectorFile& file, std::string& error);

    std::uint32_t limit() const { return limit_; }

  private:
    // One claim: a chain from `start`, or a single sector.
    struct Claim {
        std::uint32_t start;
        std::uint32_t owner;
        bool chained;
    };

    bool isClaimed(std::uint32_t sector) const {
        return (claimed_[sector >> 6] >> (sector & 63)) & 1u;
    }
    void setClaimed(std::uint32_t sector, bool value);
    // Explains why `sector` cannot join the chain of `owner`. Only called on failure,
    // so the walk over earlier claims that finds the sector's owner costs nothing in
    // the usual case.
    std::string linkError(std::uint32_t sector, std::uint32_t owner, std::size_t position,
                          const std::vector<std::uint32_t>& chainSoFar) const;
    std::uint32_t ownerOf(std::uint32_t sector) const;

    std::string name_;
    std::vector<std::uint32_t> entries_;
    std::vector<std::uint32_t> holders_;
    std::uint32_t limit_ = 0;
    std::uint32_t range_ = 0;  // sectors that may be chained: min(limit, entries)
    std::vector<std::uint64_t> claimed_;
    std::vector<Claim> claims_;
};

// Reads table sectors (in table order) into `entries`, one read per run of
// consecutive sectors in the file.
bool readTableSectors(SectorFile& file, const std::vector<std::uint32_t>& sectors,
                      std::vector<std::uint32_t>& entries, std::string& error);

// Reads the DIFAT and the FAT, and claims the FAT and DIFAT sectors in it.
bool loadFat(SectorFile& file, const Header& header, AllocationTable& fat, std::string& error);

}  // namespace cfb::detail
