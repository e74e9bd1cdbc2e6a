#pragma once
// The parts of an open compound file, shared by the editor and the compacting writer.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AllocationTable.h"
#include "CompoundFile.h"
#include "Directory.h"
#include "Format.h"
#include "Header.h"
#include "MiniStream.h"
#include "SectorFile.h"

namespace cfb {

struct CompoundFile::Impl {
    using SectorFile = detail::SectorFile;
    using Header = detail::Header;
    using AllocationTable = detail::AllocationTable;
    using Directory = detail::Directory;
    using MiniStream = detail::MiniStream;
    using DirEntry = detail::DirEntry;

    std::unique_ptr<SectorFile> file;
    Header header;
    AllocationTable fat;
    Directory directory;
    MiniStream mini;
    bool writeFailed = false;
    bool isCompound = false;  // the file starts with the compound file signature

    bool load(std::string& error);
    bool claimStreams(std::string& error);
    bool inMiniStream(const DirEntry& e) const { return e.size < detail::kMiniStreamCutoff; }
    bool destroyEntry(std::uint32_t storageId, std::uint32_t victim, std::string& error);
    bool zeroSectors(std::vector<std::uint32_t> sectors, std::string& error);
};

}  // namespace cfb
