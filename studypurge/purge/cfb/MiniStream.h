#pragma once
// Fourth layer: the mini stream (held in the root entry's chain) and the mini FAT
// that allocates its 64-byte sectors to the small streams.

#include <cstdint>
#include <string>
#include <vector>

#include "AllocationTable.h"
#include "Directory.h"
#include "Header.h"
#include "SectorFile.h"

namespace cfb::detail {

class MiniStream {
  public:
    // Claims the mini stream and mini FAT chains in `fat` and reads the mini FAT.
    bool load(SectorFile& file, AllocationTable& fat, const Header& header, const DirEntry& root,
              std::string& error);

    AllocationTable& table() { return table_; }
    const AllocationTable& table() const { return table_; }

    // File offset of a mini sector's first byte.
    std::uint64_t offsetOf(const SectorFile& file, std::uint32_t miniSector) const;
    // Overwrites the mini sectors with zeros, joining neighbours into one write.
    bool zero(SectorFile& file, std::vector<std::uint32_t> miniSectors, std::string& error) const;

  private:
    std::vector<std::uint32_t> streamChain_;
    AllocationTable table_;
};

}  // namespace cfb::detail
