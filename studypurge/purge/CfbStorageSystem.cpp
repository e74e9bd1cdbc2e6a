// Linux back end of the storage interface on our own compound-file layer, and the
// document manager, which does not exist outside Windows.
#include <sys/stat.h>

#include "DocumentManager.h"
#include "PurgeDocument.h"
#include "Storage.h"
#include "cfb/CompoundFile.h"

namespace purge {
namespace {

ElementType ToElementType(cfb::EntryType type) {
    switch (type) {
        case cfb::EntryType::Storage:
            return ElementType::Storage;
        case cfb::EntryType::Root:
            return ElementType::Root;
        case cfb::EntryType::Stream:
            break;
    }
    return ElementType::Stream;
}

// One storage of an open file; the file closes when its last storage is released.
class CfbStorage : public Storage {
  public:
    CfbStorage(std::shared_ptr<cfb::CompoundFile> file, std::uint32_t id)
        : file_(std::move(file)), id_(id) {}

    std::unique_ptr<Storage> openStorage(const std::u16string& name) override {
        const auto entry = file_->find(id_, name);
        if (!entry || entry->type != cfb::EntryType::Storage) {
            return nullptr;
        }
        return std::make_unique<CfbStorage>(file_, entry->id);
    }

    std::optional<std::vector<StorageElement>> elements() override {
        std::vector<StorageElement> result;
        for (const cfb::EntryInfo& e : file_->children(id_)) {
            result.push_back({e.name, ToElementType(e.type)});
        }
        return result;
    }

    bool destroyElement(const std::u16string& name) override {
        std::string error;
        return file_->destroy(id_, name, error);
    }

  private:
    std::shared_ptr<cfb::CompoundFile> file_;
    std::uint32_t id_;
};

class CfbStorageSystem : public StorageSystem {
  public:
    bool fileExists(const std::string& path) override {
        struct stat info {};
        return !path.empty() && path.find('\0') == std::string::npos &&
               ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    std::unique_ptr<Storage> openFile(const std::string& path) override {
        std::string error;
        std::shared_ptr<cfb::CompoundFile> file = cfb::CompoundFile::open(path, error);
        if (!file) {
            return nullptr;
        }
        return std::make_unique<CfbStorage>(std::move(file), cfb::CompoundFile::kRootId);
    }
};

class UnavailableDocumentManager : public DocumentManager {
  public:
    std::unique_ptr<DocumentFactory> createFactory() override { return nullptr; }
};

}  // namespace

StorageSystem& platformStorageSystem() {
    static CfbStorageSystem system;
    return system;
}

DocumentManager& platformDocumentManager() {
    static UnavailableDocumentManager manager;
    return manager;
}

}  // namespace purge
