// Linux back end of the storage interface on our own compound-file layer, and the
// document manager, which does not exist outside Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

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

OpenProblem ToProblem(cfb::OpenError kind) {
    switch (kind) {
        case cfb::OpenError::InUse:
            return OpenProblem::InUse;
        case cfb::OpenError::ReadOnly:
            return OpenProblem::ReadOnly;
        case cfb::OpenError::NotCompound:
            return OpenProblem::NotCompound;
        case cfb::OpenError::Damaged:
            return OpenProblem::Damaged;
        case cfb::OpenError::Unreadable:
        case cfb::OpenError::None:
            break;
    }
    return OpenProblem::NoAccess;
}

// Writes a new file beside `path` with `write`, flushed, with the original's
// permissions, and renames it over `path`; on any failure removes it and leaves the
// original as it was.
bool ReplaceByRename(const std::string& path, std::string& error,
                     const std::function<bool(const std::string&, std::string&)>& write) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string temporary = folder + "/.studypurge-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot create a file in " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool done = ::stat(path.c_str(), &info) == 0 && ::fchmod(fd, info.st_mode & 07777) == 0;
    ::close(fd);
    if (!done) {
        error = "cannot give the new file the permissions of " + path + ": " + std::strerror(errno);
    } else if (!write(temporary, error)) {
        done = false;
    } else if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + std::strerror(errno);
        done = false;
    }
    if (!done) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);  // make the rename itself durable
        ::close(dir);
    }
    return true;
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
            result.push_back({e.name, ToElementType(e.type), e.size});
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
        OpenFailure failure;
        return open(path, AccessMode::ReadWrite, failure);
    }

    std::unique_ptr<Storage> open(const std::string& path, AccessMode mode,
                                  OpenFailure& failure) override {
        std::string error;
        cfb::OpenError kind = cfb::OpenError::None;
        std::shared_ptr<cfb::CompoundFile> file = cfb::CompoundFile::open(
            path, mode == AccessMode::ReadOnly ? cfb::OpenMode::ReadOnly : cfb::OpenMode::ReadWrite,
            kind, error);
        if (!file) {
            failure = {ToProblem(kind), error};
            return nullptr;
        }
        return std::make_unique<CfbStorage>(std::move(file), cfb::CompoundFile::kRootId);
    }

    bool compact(const std::string& path, std::string& error) override {
        cfb::OpenError kind = cfb::OpenError::None;
        // Held read-write, so that no other program changes it while it is copied.
        const auto file = cfb::CompoundFile::open(path, cfb::OpenMode::ReadWrite, kind, error);
        if (!file) {
            return false;
        }
        return ReplaceByRename(path, error, [&](const std::string& temporary, std::string& why) {
            return file->writeCompacted(temporary, why);
        });
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
