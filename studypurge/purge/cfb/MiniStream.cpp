#include "MiniStream.h"

#include <algorithm>

#include "Format.h"

namespace cfb::detail {

bool MiniStream::load(SectorFile& file, AllocationTable& fat, const Header& header,
                      const DirEntry& root, std::string& error) {
    std::uint64_t bytes = 0;
    if (root.size > 0 && root.startSector != kEndOfChain) {
        if (!fat.claimChain(root.startSector, kOwnerMiniStream, streamChain_, error)) {
            return false;
        }
        const std::uint64_t capacity = std::uint64_t{streamChain_.size()} * file.sectorSize();
        if (root.size > capacity) {
            error = "mini stream: expected at least " + std::to_string(root.size) +
                    " bytes in the root entry's chain, found " + std::to_string(capacity);
            return false;
        }
        bytes = root.size;
    }
    std::vector<std::uint32_t> holders;
    if (header.firstMiniFatSector != kEndOfChain &&
        !fat.claimChain(header.firstMiniFatSector, kOwnerMiniFat, holders, error)) {
        return false;
    }
    std::vector<std::uint32_t> entries;
    if (!readTableSectors(file, holders, entries, error)) {
        return false;
    }
    const auto miniSectors = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        (bytes + kMiniSectorSize - 1) / kMiniSectorSize, kMaxRegularSector));
    table_ = AllocationTable("mini FAT", std::move(entries), std::move(holders), miniSectors);
    return true;
}

std::uint64_t MiniStream::offsetOf(const SectorFile& file, std::uint32_t miniSector) const {
    const std::uint64_t position = std::uint64_t{miniSector} * kMiniSectorSize;
    return file.sectorOffset(streamChain_[position / file.sectorSize()]) +
           position % file.sectorSize();
}

bool MiniStream::zero(SectorFile& file, std::vector<std::uint32_t> miniSectors,
                      std::string& error) const {
    std::sort(miniSectors.begin(), miniSectors.end());
    std::size_t i = 0;
    while (i < miniSectors.size()) {
        const std::uint64_t start = offsetOf(file, miniSectors[i]);
        std::uint64_t length = kMiniSectorSize;
        // Neighbours in the mini stream are neighbours in the file while they share a sector.
        while (i + 1 < miniSectors.size() && offsetOf(file, miniSectors[i + 1]) == start + length) {
            length += kMiniSectorSize;
            ++i;
        }
        if (!file.writeZeros(start, length, error)) {
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace cfb::detail
