#include "AllocationTable.h"

#include <algorithm>
#include <bit>
#include <map>

#include "Format.h"

namespace cfb::detail {

std::string ownerName(std::uint32_t owner) {
    switch (owner) {
        case kOwnerFat:
            return "the FAT";
        case kOwnerDifat:
            return "the DIFAT";
        case kOwnerDirectory:
            return "the directory";
        case kOwnerMiniFat:
            return "the mini FAT";
        case kOwnerMiniStream:
            return "the mini stream";
        default:
            return "stream " + std::to_string(owner);
    }
}

AllocationTable::AllocationTable(std::string name, std::vector<std::uint32_t> entries,
                                 std::vector<std::uint32_t> holders, std::uint32_t limit)
    : name_(std::move(name)),
      entries_(std::move(entries)),
      holders_(std::move(holders)),
      limit_(limit),
      range_(static_cast<std::uint32_t>(std::min<std::size_t>(limit, entries_.size()))),
      claimed_((std::size_t{range_} + 63) / 64, 0) {}

void AllocationTable::setClaimed(std::uint32_t sector, bool value) {
    const std::uint64_t bit = std::uint64_t{1} << (sector & 63);
    if (value) {
        claimed_[sector >> 6] |= bit;
    } else {
        claimed_[sector >> 6] &= ~bit;
    }
}

std::uint32_t AllocationTable::ownerOf(std::uint32_t sector) const {
    for (const Claim& claim : claims_) {
        if (!claim.chained) {
            if (claim.start == sector) {
                return claim.owner;
            }
            continue;
        }
        // Claimed chains were checked to end within the table's range.
        std::uint32_t steps = 0;
        for (std::uint32_t s = claim.start; s < range_ && steps <= range_; s = entries_[s]) {
            if (s == sector) {
                return claim.owner;
            }
            ++steps;
        }
    }
    return kOwnerNone;
}

std::string AllocationTable::linkError(std::uint32_t sector, std::uint32_t owner,
                                       std::size_t position,
                                       const std::vector<std::uint32_t>& chainSoFar) const {
    const std::string chainName = name_ + " chain of " + ownerName(owner);
    if (sector >= range_) {
        return chainName + ": expected a sector number below " + std::to_string(range_) +
               " at position " + std::to_string(position) + ", found " + std::to_string(sector);
    }
    const bool revisit =
        std::find(chainSoFar.begin(), chainSoFar.end(), sector) != chainSoFar.end() ||
        ownerOf(sector) == owner;
    if (revisit) {
        return chainName + " revisits sector " + std::to_string(sector);
    }
    return chainName + " uses sector " + std::to_string(sector) + ", which belongs to " +
           ownerName(ownerOf(sector));
}

bool AllocationTable::claimChain(std::uint32_t start, std::uint32_t owner,
                                 std::vector<std::uint32_t>& chain, std::string& error) {
    chain.clear();
    // Every step claims a new sector, so the walk ends within range_ steps.
    for (std::uint32_t sector = start; sector != kEndOfChain; sector = entries_[sector]) {
        if (sector >= range_ || isClaimed(sector)) {
            error = linkError(sector, owner, chain.size(), chain);
            return false;
        }
        setClaimed(sector, true);
        chain.push_back(sector);
    }
    claims_.push_back({start, owner, true});
    return true;
}

bool AllocationTable::claimSector(std::uint32_t sector, std::uint32_t owner, std::string& error) {
    if (sector < range_ && isClaimed(sector) && ownerOf(sector) == owner) {
        error = name_ + ": sector " + std::to_string(sector) + " is listed twice for " +
                ownerName(owner);
        return false;
    }
    if (sector >= range_ || isClaimed(sector)) {
        error = linkError(sector, owner, 0, {});
        return false;
    }
    setClaimed(sector, true);
    claims_.push_back({sector, owner, false});
    return true;
}

std::vector<std::uint32_t> AllocationTable::chain(std::uint32_t start) const {
    std::vector<std::uint32_t> sectors;
    for (std::uint32_t s = start; s != kEndOfChain && s < range_ && sectors.size() < range_;
         s = entries_[s]) {
        sectors.push_back(s);
    }
    return sectors;
}

bool AllocationTable::release(const std::vector<std::uint32_t>& sectors, SectorFile& file,
                              std::string& error) {
    const std::uint32_t perHolder = file.sectorSize() / 4;
    // Changed entries per holder sector: the lowest and highest entry index.
    std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> ranges;
    for (std::uint32_t sector : sectors) {
        entries_[sector] = kFreeSector;
        setClaimed(sector, false);
        const std::uint32_t holder = sector / perHolder;
        const std::uint32_t index = sector % perHolder;
        auto [it, added] = ranges.try_emplace(holder, index, index);
        if (!added) {
            it->second.first = std::min(it->second.first, index);
            it->second.second = std::max(it->second.second, index);
        }
    }
    for (const auto& [holder, range] : ranges) {
        std::vector<std::uint8_t> bytes;
        for (std::uint32_t i = range.first; i <= range.second; ++i) {
            std::uint8_t value[4];
            putU32(value, entries_[std::size_t{holder} * perHolder + i]);
            bytes.insert(bytes.end(), value, value + 4);
        }
        const std::uint64_t offset = file.sectorOffset(holders_[holder]) + 4ull * range.first;
        if (!file.write(offset, bytes.data(), bytes.size(), error)) {
            return false;
        }
    }
    return true;
}

namespace {

// The FAT sector numbers: the header's own 109, then those of the DIFAT sectors.
bool collectFatSectors(SectorFile& file, const Header& header,
                       std::vector<std::uint32_t>& fatSectors,
                       std::vector<std::uint32_t>& difatSectors, std::string& error) {
    const std::uint32_t wanted = header.fatSectorCount;
    const std::uint32_t fromHeader = std::min(wanted, kHeaderDifatCount);
    fatSectors.assign(header.difat.begin(), header.difat.begin() + fromHeader);
    const std::uint32_t perSector = file.sectorSize() / 4 - 1;
    std::vector<std::uint8_t> buffer(file.sectorSize());
    std::vector<bool> visited(file.sectorCount(), false);
    std::uint32_t next = header.firstDifatSector;
    while (fatSectors.size() < wanted) {
        if (next >= file.sectorCount()) {
            error = "DIFAT: expected a sector number below " + std::to_string(file.sectorCount()) +
                    " after " + std::to_string(difatSectors.size()) + " DIFAT sectors, found " +
                    std::to_string(next);
            return false;
        }
        if (visited[next]) {
            error = "DIFAT chain revisits sector " + std::to_string(next);
            return false;
        }
        visited[next] = true;
        difatSectors.push_back(next);
        if (!file.readSector(next, buffer.data(), error)) {
            return false;
        }
        for (std::uint32_t i = 0; i < perSector && fatSectors.size() < wanted; ++i) {
            fatSectors.push_back(getU32(buffer.data() + 4 * i));
        }
        next = getU32(buffer.data() + 4 * perSector);
    }
    return true;
}

}  // namespace

bool readTableSectors(SectorFile& file, const std::vector<std::uint32_t>& sectors,
                      std::vector<std::uint32_t>& entries, std::string& error) {
    const std::uint32_t perSector = file.sectorSize() / 4;
    entries.resize(sectors.size() * std::size_t{perSector});
    std::size_t i = 0;
    while (i < sectors.size()) {
        std::size_t run = 1;
        while (i + run < sectors.size() && sectors[i + run] == sectors[i] + run) {
            ++run;
        }
        if (!file.read(file.sectorOffset(sectors[i]), entries.data() + i * perSector,
                       run * file.sectorSize(), error)) {
            return false;
        }
        i += run;
    }
    // Entries beyond the file's sectors point nowhere and are never looked at.
    if constexpr (std::endian::native == std::endian::big) {
        for (std::uint32_t& e : entries) {
            e = getU32(reinterpret_cast<const std::uint8_t*>(&e));
        }
    }
    return true;
}

bool loadFat(SectorFile& file, const Header& header, AllocationTable& fat, std::string& error) {
    std::vector<std::uint32_t> fatSectors;
    std::vector<std::uint32_t> difatSectors;
    if (!collectFatSectors(file, header, fatSectors, difatSectors, error)) {
        return false;
    }
    for (std::size_t i = 0; i < fatSectors.size(); ++i) {
        if (fatSectors[i] >= file.sectorCount()) {
            error = "FAT: expected FAT sector " + std::to_string(i) + " below " +
                    std::to_string(file.sectorCount()) + ", found " + std::to_string(fatSectors[i]);
            return false;
        }
    }
    std::vector<std::uint32_t> entries;
    if (!readTableSectors(file, fatSectors, entries, error)) {
        return false;
    }
    entries.resize(std::min<std::size_t>(entries.size(), file.sectorCount()));
    fat = AllocationTable("FAT", std::move(entries), fatSectors, file.sectorCount());
    for (std::uint32_t sector : fatSectors) {
        if (!fat.claimSector(sector, kOwnerFat, error)) {
            return false;
        }
    }
    for (std::uint32_t sector : difatSectors) {
        if (!fat.claimSector(sector, kOwnerDifat, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace cfb::detail
