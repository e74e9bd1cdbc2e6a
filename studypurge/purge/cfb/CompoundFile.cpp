#include "CompoundFile.h"

#include <algorithm>

#include "CompoundFileImpl.h"

namespace cfb {

using namespace detail;

bool CompoundFile::Impl::load(std::string& error) {
    std::uint8_t bytes[Header::kSize];
    if (!file->read(0, bytes, sizeof bytes, error)) {
        return false;
    }
    isCompound = file->fileSize() >= 8 && Header::hasSignature(bytes);
    if (!Header::parse(bytes, file->fileSize(), header, error)) {
        return false;
    }
    file->setSectorSize(header.sectorSize);
    if (!loadFat(*file, header, fat, error)) {
        return false;
    }
    std::vector<std::uint32_t> directoryChain;
    if (!fat.claimChain(header.firstDirectorySector, kOwnerDirectory, directoryChain, error)) {
        return false;
    }
    if (!directory.load(*file, directoryChain, header.majorVersion, error)) {
        return false;
    }
    return mini.load(*file, fat, header, directory.entry(kRootId), error) && claimStreams(error);
}

// Every reachable stream's chain must be valid, its own, and hold the stream's size.
bool CompoundFile::Impl::claimStreams(std::string& error) {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t id = 0; id < directory.size(); ++id) {
        if (!directory.isLiveStream(id) || directory.entry(id).size == 0) {
            continue;
        }
        const DirEntry& e = directory.entry(id);
        const bool small = inMiniStream(e);
        AllocationTable& table = small ? mini.table() : fat;
        if (!table.claimChain(e.startSector, id, chain, error)) {
            return false;
        }
        const std::uint64_t capacity =
            std::uint64_t{chain.size()} * (small ? kMiniSectorSize : file->sectorSize());
        if (e.size > capacity) {
            error = "stream " + std::to_string(id) + ": expected at most " +
                    std::to_string(capacity) + " bytes in its chain, found a size of " +
                    std::to_string(e.size);
            return false;
        }
    }
    return true;
}

std::unique_ptr<CompoundFile> CompoundFile::open(const std::string& path, std::string& error) {
    OpenError kind = OpenError::None;
    return open(path, OpenMode::ReadWrite, kind, error);
}

std::unique_ptr<CompoundFile> CompoundFile::open(const std::string& path, OpenMode mode,
                                                 OpenError& kind, std::string& error) {
    auto impl = std::make_unique<Impl>();
    SectorFile::Failure failure = SectorFile::Failure::None;
    impl->file = SectorFile::open(path, mode == OpenMode::ReadOnly, failure, error);
    if (!impl->file) {
        kind = failure == SectorFile::Failure::InUse      ? OpenError::InUse
               : failure == SectorFile::Failure::ReadOnly ? OpenError::ReadOnly
                                                          : OpenError::Unreadable;
        return nullptr;
    }
    if (!impl->load(error)) {
        kind = impl->isCompound ? OpenError::Damaged : OpenError::NotCompound;
        return nullptr;
    }
    kind = OpenError::None;
    return std::unique_ptr<CompoundFile>(new CompoundFile(std::move(impl)));
}

CompoundFile::CompoundFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CompoundFile::~CompoundFile() = default;

namespace {

EntryInfo infoOf(std::uint32_t id, const DirEntry& e) {
    EntryInfo info;
    info.id = id;
    info.name = e.name;
    info.type = e.type == kTypeStream ? EntryType::Stream
                : e.type == kTypeRoot ? EntryType::Root
                                      : EntryType::Storage;
    info.size = e.type == kTypeStream ? e.size : 0;
    return info;
}

}  // namespace

std::vector<EntryInfo> CompoundFile::children(std::uint32_t storageId) const {
    std::vector<EntryInfo> result;
    for (std::uint32_t id : impl_->directory.children(storageId)) {
        result.push_back(infoOf(id, impl_->directory.entry(id)));
    }
    return result;
}

std::optional<EntryInfo> CompoundFile::find(std::uint32_t storageId,
                                            std::u16string_view name) const {
    const std::uint32_t id = impl_->directory.findChild(storageId, name);
    if (id == kNoEntry) {
        return std::nullopt;
    }
    return infoOf(id, impl_->directory.entry(id));
}

bool CompoundFile::destroy(std::uint32_t storageId, std::u16string_view name, std::string& error) {
    if (impl_->writeFailed) {
        error = "an earlier write to the file failed; no further changes are made";
        return false;
    }
    if (!impl_->directory.isLiveStorage(storageId)) {
        error =
            "expected a storage, found no storage with entry number " + std::to_string(storageId);
        return false;
    }
    const auto victim = find(storageId, name);
    if (!victim) {
        error = "no element named \"" + toUtf8(name) + "\" in storage " + std::to_string(storageId);
        return false;
    }
    if (!impl_->destroyEntry(storageId, victim->id, error)) {
        impl_->writeFailed = true;
        return false;
    }
    return true;
}

// Unlinks first, then marks the entries unused, frees their chains and zeroes the
// freed data, so that an interruption leaks sectors at worst.
bool CompoundFile::Impl::destroyEntry(std::uint32_t storageId, std::uint32_t victim,
                                      std::string& error) {
    std::vector<std::uint32_t> bigSectors;
    std::vector<std::uint32_t> miniSectors;
    const std::vector<std::uint32_t> gone = directory.withDescendants(victim);
    for (std::uint32_t id : gone) {
        const DirEntry& e = directory.entry(id);
        if (e.type != kTypeStream || e.size == 0) {
            continue;
        }
        const bool small = inMiniStream(e);
        const auto chain = (small ? mini.table() : fat).chain(e.startSector);
        std::vector<std::uint32_t>& freed = small ? miniSectors : bigSectors;
        freed.insert(freed.end(), chain.begin(), chain.end());
    }
    if (!directory.removeEntry(storageId, victim, *file, error)) {
        return false;
    }
    return fat.release(bigSectors, *file, error) &&
           mini.table().release(miniSectors, *file, error) && zeroSectors(bigSectors, error) &&
           mini.zero(*file, miniSectors, error);
}

bool CompoundFile::Impl::zeroSectors(std::vector<std::uint32_t> sectors, std::string& error) {
    std::sort(sectors.begin(), sectors.end());
    std::size_t i = 0;
    while (i < sectors.size()) {
        std::size_t run = 1;
        while (i + run < sectors.size() && sectors[i + run] == sectors[i] + run) {
            ++run;
        }
        if (!file->writeZeros(file->sectorOffset(sectors[i]),
                              std::uint64_t{run} * file->sectorSize(), error)) {
            return false;
        }
        i += run;
    }
    return true;
}

bool CompoundFile::readStream(std::uint32_t streamId, std::vector<std::uint8_t>& data,
                              std::string& error) const {
    if (!impl_->directory.isLiveStream(streamId)) {
        error = "expected a stream, found no stream with entry number " + std::to_string(streamId);
        return false;
    }
    const DirEntry& e = impl_->directory.entry(streamId);
    data.assign(e.size, 0);
    if (e.size == 0) {
        return true;
    }
    const bool small = impl_->inMiniStream(e);
    const std::uint64_t unit = small ? kMiniSectorSize : impl_->file->sectorSize();
    const auto chain = (small ? impl_->mini.table() : impl_->fat).chain(e.startSector);
    for (std::size_t i = 0; i < chain.size() && i * unit < e.size; ++i) {
        const std::uint64_t offset = small ? impl_->mini.offsetOf(*impl_->file, chain[i])
                                           : impl_->file->sectorOffset(chain[i]);
        const std::size_t length = static_cast<std::size_t>(std::min(unit, e.size - i * unit));
        if (!impl_->file->read(offset, data.data() + i * unit, length, error)) {
            return false;
        }
    }
    return true;
}

std::uint64_t CompoundFile::fileSize() const {
    return impl_->file->fileSize();
}

std::uint64_t CompoundFile::bytesWritten() const {
    return impl_->file->bytesWritten();
}

void CompoundFile::limitWrites(std::uint64_t count) {
    impl_->file->limitWrites(count);
}

}  // namespace cfb
