#pragma once
// Structured-storage access used by the purge: a compound file opened read-write and
// exclusively, its sub-storages, their elements and the destruction of elements.
// Releasing a storage is destroying its object.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace purge {

// Element kinds as structured storage numbers them.
enum class ElementType { Storage = 1, Stream = 2, LockBytes = 3, Property = 4, Root = 5 };

struct StorageElement {
    std::u16string name;
    ElementType type = ElementType::Stream;
    std::uint64_t size = 0;  // bytes of a stream
};

enum class AccessMode { ReadWrite, ReadOnly };

// Why a file could not be opened as a compound file.
enum class OpenProblem {
    None,
    NotCompound,  // some other kind of file
    InUse,        // another program holds it
    ReadOnly,     // it may not be written
    NoAccess,     // it cannot be read
    Damaged,      // a compound file whose structure is unsound
};

struct OpenFailure {
    OpenProblem problem = OpenProblem::None;
    std::string reason;  // what the compound-file layer found, when it says
};

class Storage {
  public:
    virtual ~Storage() = default;

    // Opens the named child storage read-write and exclusively; null when it is
    // missing or cannot be opened.
    virtual std::unique_ptr<Storage> openStorage(const std::u16string& name) = 0;

    // The elements in the storage's own order; nullopt when no enumerator (or no
    // allocator for the returned names) could be had.
    virtual std::optional<std::vector<StorageElement>> elements() = 0;

    // Destroys the named element (a storage with everything in it); false when that
    // failed, which callers are free to ignore.
    virtual bool destroyElement(const std::u16string& name) = 0;
};

class StorageSystem {
  public:
    virtual ~StorageSystem() = default;

    // True when `path` (UTF-8) names an existing regular file.
    virtual bool fileExists(const std::string& path) = 0;

    // Opens the file as a compound file, read-write, share-exclusive, direct mode;
    // null when it is no compound file or cannot be opened that way.
    virtual std::unique_ptr<Storage> openFile(const std::string& path) = 0;

    // As openFile() in the given mode (read-only shares the file with readers), saying
    // why when it fails. Back ends that know no reasons open read-write only.
    virtual std::unique_ptr<Storage> open(const std::string& path, AccessMode mode,
                                          OpenFailure& failure) {
        std::unique_ptr<Storage> storage = mode == AccessMode::ReadWrite ? openFile(path) : nullptr;
        if (!storage) {
            failure = {OpenProblem::NotCompound, {}};
        }
        return storage;
    }

    // Rewrites the closed compound file at `path` into a fresh one with the same tree
    // and streams and no free space, and puts it in place of the original by rename.
    // On failure the original stays as it was and `error` says why.
    virtual bool compact(const std::string& path, std::string& error) {
        (void)path;
        error = "compacting is not available";
        return false;
    }
};

}  // namespace purge
