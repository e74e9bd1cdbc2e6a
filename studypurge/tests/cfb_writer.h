#pragma once
// A small compound file writer for tests and measurements: builds a version 3 or 4
// file from a tree in memory, in a plain layout whose sector numbers it reports so
// that tests can damage chosen structures.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cfbtest {

struct Node {
    std::u16string name;
    bool storage = false;
    std::vector<std::uint8_t> data;   // stream content, or
    std::uint64_t generatedSize = 0;  // content made by generatedByte() when non-zero
    std::uint8_t seed = 0;
    std::vector<Node> children;

    std::uint64_t size() const { return generatedSize ? generatedSize : data.size(); }
};

Node storage(std::u16string name, std::vector<Node> children = {});
Node stream(std::u16string name, std::vector<std::uint8_t> data);
Node stream(std::u16string name, const std::string& text);
std::uint8_t generatedByte(std::uint8_t seed, std::uint64_t position);

struct WriteOptions {
    std::uint16_t majorVersion = 3;
    std::uint32_t minFatSectors = 0;  // more than needed: the FAT then covers unused space
    bool skipGeneratedData = false;   // rewrite only the structures and the small content
    bool caseSensitiveOrder = false;  // sort siblings by raw units, as some writers do
};

// Where the writer put things.
struct Layout {
    std::uint32_t sectorSize = 0;
    std::vector<std::uint32_t> fatSectors;
    std::vector<std::uint32_t> difatSectors;
    std::uint32_t directoryStart = 0;
    std::uint32_t miniFatStart = 0;
    std::uint32_t miniStreamStart = 0;
    std::map<std::string, std::uint32_t> ids;  // "A/B/c" -> entry number; the root is ""
    std::vector<std::uint32_t> starts;         // by entry number
    std::uint64_t fileSize = 0;

    std::uint64_t sectorOffset(std::uint32_t sector) const {
        return (std::uint64_t{sector} + 1) * sectorSize;
    }
    std::uint64_t entryOffset(std::uint32_t id) const;
    std::uint64_t fatEntryOffset(std::uint32_t sector) const;
    std::uint64_t miniFatEntryOffset(std::uint32_t miniSector) const;
};

bool writeCompoundFile(const std::string& path, const Node& root, const WriteOptions& options,
                       Layout& layout, std::string& error);

}  // namespace cfbtest
