// Windows back end of the storage interface: ole32 structured storage.
#include "Ole32Storage.h"

#include <windows.h>

#include "PurgeDocument.h"
#include "PurgeRoutines.h"

namespace purge {
namespace {

// Read-write, share-exclusive, direct mode.
constexpr DWORD kOpenMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
static_assert(kOpenMode == 0x12);

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class TaskAllocator {
  public:
    TaskAllocator() {
        if (FAILED(CoGetMalloc(1, &malloc_))) {
            malloc_ = nullptr;
        }
    }
    ~TaskAllocator() {
        if (malloc_) {
            malloc_->Release();
        }
    }
    TaskAllocator(const TaskAllocator&) = delete;
    TaskAllocator& operator=(const TaskAllocator&) = delete;

    explicit operator bool() const { return malloc_ != nullptr; }
    void free(void* p) { malloc_->Free(p); }

  private:
    IMalloc* malloc_ = nullptr;
};

class Ole32Storage : public Storage {
  public:
    explicit Ole32Storage(IStorage* storage) : storage_(storage) {}
    ~Ole32Storage() override { storage_->Release(); }
    Ole32Storage(const Ole32Storage&) = delete;
    Ole32Storage& operator=(const Ole32Storage&) = delete;

    std::unique_ptr<Storage> openStorage(const std::u16string& name) override {
        IStorage* child = nullptr;
        const HRESULT hr =
            storage_->OpenStorage(Wide(name), nullptr, kOpenMode, nullptr, 0, &child);
        if (FAILED(hr) || !child) {
            return nullptr;
        }
        return std::make_unique<Ole32Storage>(child);
    }

    std::optional<std::vector<StorageElement>> elements() override {
        TaskAllocator allocator;
        if (!allocator) {
            return std::nullopt;
        }
        IEnumSTATSTG* enumerator = nullptr;
        if (FAILED(storage_->EnumElements(0, nullptr, 0, &enumerator)) || !enumerator) {
            return std::nullopt;
        }
        std::vector<StorageElement> result;
        STATSTG stat{};
        ULONG fetched = 0;
        while (enumerator->Next(1, &stat, &fetched) == S_OK) {
            if (stat.pwcsName) {
                result.push_back({reinterpret_cast<const char16_t*>(stat.pwcsName),
                                  static_cast<ElementType>(stat.type)});
                allocator.free(stat.pwcsName);
            }
            stat = STATSTG{};
        }
        enumerator->Release();
        return result;
    }

    bool destroyElement(const std::u16string& name) override {
        return SUCCEEDED(storage_->DestroyElement(Wide(name)));
    }

  private:
    IStorage* storage_;
};

class Ole32StorageSystem : public StorageSystem {
  public:
    // Only an existing regular file counts: a folder or a wildcard pattern would
    // otherwise pass the search.
    bool fileExists(const std::string& path) override {
        const std::u16string wide = Utf8ToUtf16(path);
        if (wide.empty() || wide.find_first_of(u"*?") != std::u16string::npos ||
            wide.find(u'\0') != std::u16string::npos) {
            return false;
        }
        WIN32_FIND_DATAW data{};
        const HANDLE find = FindFirstFileW(Wide(wide), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return false;
        }
        FindClose(find);
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    std::unique_ptr<Storage> openFile(const std::string& path) override {
        const std::u16string wide = Utf8ToUtf16(path);
        IStorage* root = nullptr;
        const HRESULT hr = StgOpenStorage(Wide(wide), nullptr, kOpenMode, nullptr, 0, &root);
        if (FAILED(hr) || !root) {
            return nullptr;
        }
        return std::make_unique<Ole32Storage>(root);
    }
};

}  // namespace

std::unique_ptr<Storage> WrapOle32Storage(IStorage* storage) {
    return std::make_unique<Ole32Storage>(storage);
}

StorageSystem& platformStorageSystem() {
    static Ole32StorageSystem system;
    return system;
}

}  // namespace purge
