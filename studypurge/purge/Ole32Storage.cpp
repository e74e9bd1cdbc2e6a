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

// Elements inside a file are always opened share-exclusive, read-only ones too.
DWORD ChildMode(DWORD mode) {
    return (mode & ~(STGM_SHARE_DENY_NONE | STGM_SHARE_DENY_READ | STGM_SHARE_DENY_WRITE |
                     STGM_SHARE_EXCLUSIVE)) |
           STGM_SHARE_EXCLUSIVE;
}

class Ole32Storage : public Storage {
  public:
    explicit Ole32Storage(IStorage* storage, DWORD mode = kOpenMode)
        : storage_(storage), mode_(mode) {}
    ~Ole32Storage() override { storage_->Release(); }
    Ole32Storage(const Ole32Storage&) = delete;
    Ole32Storage& operator=(const Ole32Storage&) = delete;

    std::unique_ptr<Storage> openStorage(const std::u16string& name) override {
        IStorage* child = nullptr;
        const HRESULT hr =
            storage_->OpenStorage(Wide(name), nullptr, ChildMode(mode_), nullptr, 0, &child);
        if (FAILED(hr) || !child) {
            return nullptr;
        }
        return std::make_unique<Ole32Storage>(child, mode_);
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
                                  static_cast<ElementType>(stat.type), stat.cbSize.QuadPart});
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

    IStorage* get() const { return storage_; }

  private:
    IStorage* storage_;
    DWORD mode_;
};

std::string HexCode(HRESULT hr) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += digits[(static_cast<unsigned long>(hr) >> shift) & 15];
    }
    return text;
}

// What a failed open means for the user.
OpenFailure FailureOf(HRESULT hr) {
    switch (hr) {
        case STG_E_FILEALREADYEXISTS:
        case STG_E_INVALIDHEADER:
        case STG_E_OLDFORMAT:
        case STG_E_OLDDLL:
            return {OpenProblem::NotCompound, {}};
        case STG_E_SHAREVIOLATION:
        case STG_E_LOCKVIOLATION:
            return {OpenProblem::InUse, {}};
        case STG_E_ACCESSDENIED:
            return {OpenProblem::ReadOnly, {}};
        case STG_E_DOCFILECORRUPT:
            return {OpenProblem::Damaged,
                    "the structured storage reports a corrupt file (" + HexCode(hr) + ")"};
        case STG_E_READFAULT:
            // The file itself opened; what its tables point at could not be read.
            return {OpenProblem::Damaged,
                    "its tables point at parts that cannot be read (" + HexCode(hr) + ")"};
        default:
            return {OpenProblem::NoAccess, "the structured storage answered " + HexCode(hr)};
    }
}

// The sector size the file's header gives.
bool SectorSizeOf(const std::u16string& path, USHORT& sectorSize) {
    const HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    unsigned char header[32] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    if (!ok || read != sizeof header) {
        return false;
    }
    sectorSize = static_cast<USHORT>(1u << (header[30] | (header[31] << 8)));
    return sectorSize == 512 || sectorSize == 4096;
}

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
        OpenFailure failure;
        return open(path, AccessMode::ReadWrite, failure);
    }

    std::unique_ptr<Storage> open(const std::string& path, AccessMode mode,
                                  OpenFailure& failure) override {
        const std::u16string wide = Utf8ToUtf16(path);
        // Read-only opens let other readers share the file but no writer.
        const DWORD flags =
            mode == AccessMode::ReadWrite ? kOpenMode : STGM_READ | STGM_SHARE_DENY_WRITE;
        // A read-only file is refused before anything opens it for writing (an
        // administrator's rights would otherwise let the open through).
        const DWORD attributes = GetFileAttributesW(Wide(wide));
        if (mode == AccessMode::ReadWrite && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_READONLY)) {
            failure = {OpenProblem::ReadOnly, {}};
            return nullptr;
        }
        IStorage* root = nullptr;
        const HRESULT hr = StgOpenStorage(Wide(wide), nullptr, flags, nullptr, 0, &root);
        if (FAILED(hr) || !root) {
            failure = FailureOf(hr);
            return nullptr;
        }
        return std::make_unique<Ole32Storage>(root, flags);
    }

    // Copies the whole tree into a new docfile with the same sector size beside the
    // original, then moves it over the original.
    bool compact(const std::string& path, std::string& error) override {
        const std::u16string wide = Utf8ToUtf16(path);
        USHORT sectorSize = 512;
        if (!SectorSizeOf(wide, sectorSize)) {
            error = "cannot read the header of " + path;
            return false;
        }
        IStorage* source = nullptr;
        HRESULT hr = StgOpenStorage(Wide(wide), nullptr, kOpenMode, nullptr, 0, &source);
        if (FAILED(hr) || !source) {
            error = "cannot open " + path + " (" + HexCode(hr) + ")";
            return false;
        }
        const std::u16string temporary = wide + u".studypurge-new";
        STGOPTIONS options{};
        options.usVersion = 1;
        options.reserved = 0;
        options.ulSectorSize = sectorSize;
        IStorage* target = nullptr;
        hr = StgCreateStorageEx(
            Wide(temporary), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, STGFMT_DOCFILE, 0,
            &options, nullptr, IID_IStorage, reinterpret_cast<void**>(&target));
        bool done = SUCCEEDED(hr) && target;
        if (done) {
            STATSTG stat{};
            hr = source->CopyTo(0, nullptr, nullptr, target);
            done = SUCCEEDED(hr) && SUCCEEDED(source->Stat(&stat, STATFLAG_NONAME)) &&
                   SUCCEEDED(target->SetClass(stat.clsid)) &&
                   SUCCEEDED(target->SetStateBits(stat.grfStateBits, 0xFFFFFFFF)) &&
                   SUCCEEDED(hr = target->Commit(STGC_DEFAULT));
            target->Release();
        }
        source->Release();
        if (done && !MoveFileExW(Wide(temporary), Wide(wide),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            hr = HRESULT_FROM_WIN32(GetLastError());
            done = false;
        }
        if (!done) {
            DeleteFileW(Wide(temporary));
            error = "cannot rewrite " + path + " (" + HexCode(hr) + ")";
        }
        return done;
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
