#pragma once
// The CAD host's document manager component, reduced to the calls the purge makes.
// Each object stands for one interface pointer of the component; destroying the
// object releases it.

#include <cstdint>
#include <memory>
#include <string>

#include "Storage.h"

namespace purge {

// An object the component hands out for a named add-in item.
class AddinItem {
  public:
    virtual ~AddinItem() = default;
    // The item as a storage, when it answers that interface; null otherwise.
    virtual std::unique_ptr<Storage> queryStorage() = 0;
};

// The newer document interface.
class NewerDocument {
  public:
    virtual ~NewerDocument() = default;
    // Removes the named add-in storage / stream; true on a success code.
    virtual bool removeStorageItem(const std::u16string& name) = 0;
    virtual bool removeStreamItem(const std::u16string& name) = 0;
    // Opens the named add-in stream; null when it does not exist.
    virtual std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) = 0;
    // Releases what openStreamItem opened on the component's side.
    virtual bool releaseStreamItem(const std::u16string& name) = 0;
};

// The older document interface.
class OlderDocument {
  public:
    virtual ~OlderDocument() = default;
    virtual std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) = 0;
    virtual bool releaseStreamItem(const std::u16string& name) = 0;
    virtual std::unique_ptr<AddinItem> openStorageItem(const std::u16string& name, bool flag) = 0;
    // Releases what openStorageItem opened; its success code removes the item.
    virtual bool releaseStorageItem(const std::u16string& name) = 0;
};

enum class DocumentType : std::int32_t { Part = 1, Assembly = 2 };

class ManagedDocument {
  public:
    virtual ~ManagedDocument() = default;
    // Saves in place; 0 means saved. A call that fails outright gives a non-zero value.
    virtual std::int32_t save() = 0;
    virtual void close() = 0;
    // The two document interfaces; null when the document does not answer one.
    virtual std::unique_ptr<NewerDocument> queryNewer() = 0;
    virtual std::unique_ptr<OlderDocument> queryOlder() = 0;
};

class DocumentApplication {
  public:
    virtual ~DocumentApplication() = default;
    // Opens the document at `path` (not read-only); null when that fails.
    virtual std::unique_ptr<ManagedDocument> openDocument(const std::u16string& path,
                                                          DocumentType type) = 0;
};

class DocumentFactory {
  public:
    virtual ~DocumentFactory() = default;
    virtual std::unique_ptr<DocumentApplication> getApplication() = 0;
};

class DocumentManager {
  public:
    virtual ~DocumentManager() = default;
    // Creates the component's factory; null when the component is not available.
    virtual std::unique_ptr<DocumentFactory> createFactory() = 0;
};

}  // namespace purge
