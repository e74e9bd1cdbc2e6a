#pragma once
// Our own reader and in-place editor of compound files (the published compound file
// binary format, major versions 3 and 4). It opens a file exclusively, validates the
// whole structure before anything is written, and destroys elements in place so that
// the removed data is really gone and the file stays readable after every single write.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cfb {

enum class EntryType : std::uint8_t { Storage = 1, Stream = 2, Root = 5 };

struct EntryInfo {
    std::uint32_t id = 0;  // directory entry number; stable while the file is open
    std::u16string name;
    EntryType type = EntryType::Stream;
    std::uint64_t size = 0;  // streams only
};

enum class OpenMode { ReadWrite, ReadOnly };

// Why an open failed.
enum class OpenError { None, Unreadable, InUse, ReadOnly, NotCompound, Damaged };

class CompoundFile {
  public:
    static constexpr std::uint32_t kRootId = 0;

    // Opens `path` read-write, locked exclusively, and validates the structure.
    // Returns null and sets `error` (what was expected, what was found) when the file
    // cannot be opened, is locked, is not a compound file, or carries anything that
    // would make an edit unsafe. Nothing is written by a failed open.
    static std::unique_ptr<CompoundFile> open(const std::string& path, std::string& error);
    // The same in either mode, telling what kind of failure it was. Read-only opens
    // share the file with other readers and refuse every change.
    static std::unique_ptr<CompoundFile> open(const std::string& path, OpenMode mode,
                                              OpenError& kind, std::string& error);

    ~CompoundFile();
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    // The children of a storage (or the root) in the tree's in-order sequence.
    std::vector<EntryInfo> children(std::uint32_t storageId) const;

    // The child of that name, compared case-insensitively as the format does.
    std::optional<EntryInfo> find(std::uint32_t storageId, std::u16string_view name) const;

    // Destroys the named child of a storage: a stream, or a storage with its whole
    // subtree. Returns false and sets `error` when there is no such child or a write
    // fails.
    bool destroy(std::uint32_t storageId, std::u16string_view name, std::string& error);

    // Reads a stream's whole content.
    bool readStream(std::uint32_t streamId, std::vector<std::uint8_t>& data,
                    std::string& error) const;

    // Writes a fresh compound file at `target` with the same sector size, the same
    // tree (names, in-order sequence, class ids, state bits, timestamps) and the same
    // stream contents, and no free sectors; flushed to disk before it returns.
    bool writeCompacted(const std::string& target, std::string& error) const;

    std::uint64_t fileSize() const;

    // Bytes written to the file since it was opened (for measurements).
    std::uint64_t bytesWritten() const;
    // Lets only `count` more writes reach the file; later ones fail as on a full disk
    // (for tests of interrupted edits).
    void limitWrites(std::uint64_t count);

  private:
    friend struct CompactWriter;
    struct Impl;
    explicit CompoundFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace cfb
