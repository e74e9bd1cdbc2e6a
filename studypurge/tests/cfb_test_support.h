#pragma once
// Helpers shared by the compound-file tests: scratch folders, whole-file bytes,
// fixtures made by outside tools, and listings of a file as our layer and as
// independent readers see it.

#include <cstdint>
#include <string>
#include <vector>

#include "CompoundFile.h"
#include "cfb_writer.h"

namespace cfbtest {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void patch16(const std::string& path, std::uint64_t offset, std::uint16_t value);
void patch32(const std::string& path, std::uint64_t offset, std::uint32_t value);
void patch64(const std::string& path, std::uint64_t offset, std::uint64_t value);
bool contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle);

// The stream's whole content, generated or given.
std::vector<std::uint8_t> bytesOf(const Node& node);

// Runs a shell command; its exit status, standard output in `output`.
int run(const std::string& command, std::string& output);

std::uint32_t crc32(const std::vector<std::uint8_t>& data);

// Content that names its stream: "<path>" repeated to `size` bytes.
std::vector<std::uint8_t> payload(const std::string& path, std::size_t size);

// Writes the tree as folders and files and makes a compound file of it with gsf.
bool makeWithGsf(const Node& root, const std::string& folder, const std::string& out);

// Listings, one line per element sorted by path: "S path" or "F path size crc32".
std::string expectedListing(const Node& root);
std::string ownListing(const std::string& path, std::string& error);
std::string oleFileListing(const std::string& path);  // empty when olefile refuses it
// gsf's view, without sizes' checksums: "S path" or "F path size".
std::string gsfListing(const std::string& path);
std::string withoutChecksums(const std::string& listing);

// The tree without the elements at the given paths.
Node without(const Node& root, const std::vector<std::string>& paths);

std::u16string widen(const std::string& text);
std::string narrow(const std::u16string& text);

}  // namespace cfbtest
