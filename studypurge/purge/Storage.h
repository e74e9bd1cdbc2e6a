#pragma once
// Structured-storage access used by the purge: a compound file opened read-write and
// exclusively, its sub-storages, their elements and the destruction of elements.
// Releasing a storage is destroying its object.

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
};

}  // namespace purge
