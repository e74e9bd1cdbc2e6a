// Windows: test documents are written by the system's structured storage.
#include <objbase.h>
#include <windows.h>

#include <vector>

#include "DocumentFiles.h"
#include "PurgeRoutines.h"

namespace clitest {
namespace {

constexpr DWORD kCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

std::wstring wide(const std::string& utf8) {
    const std::u16string text = purge::Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

// The storages along a path below the root, opened or created; a child is only
// usable while its parents are open, so all stay open until released together.
class StoragePath {
  public:
    StoragePath(IStorage* root, const std::string& path) {
        root->AddRef();
        chain_.push_back(root);
        std::size_t from = 0;
        while (from < path.size()) {
            const std::size_t slash = path.find('/', from);
            const std::wstring name = wide(path.substr(from, slash - from));
            IStorage* next = nullptr;
            if (FAILED(
                    chain_.back()->OpenStorage(name.c_str(), nullptr, kOpen, nullptr, 0, &next)) &&
                FAILED(chain_.back()->CreateStorage(name.c_str(), kCreate, 0, 0, &next))) {
                next = nullptr;
            }
            if (!next) {
                ok_ = false;
                return;
            }
            chain_.push_back(next);
            from = slash == std::string::npos ? path.size() : slash + 1;
        }
    }
    ~StoragePath() {
        for (auto it = chain_.rbegin(); it != chain_.rend(); ++it) {
            (*it)->Release();
        }
    }
    StoragePath(const StoragePath&) = delete;
    StoragePath& operator=(const StoragePath&) = delete;

    IStorage* last() const { return ok_ ? chain_.back() : nullptr; }

  private:
    std::vector<IStorage*> chain_;
    bool ok_ = true;
};

}  // namespace

bool writeDocument(const std::string& path, const std::vector<Item>& items, std::string& error) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IStorage* root = nullptr;
    if (FAILED(StgCreateDocfile(wide(path).c_str(), kCreate, 0, &root)) || !root) {
        error = "cannot create " + path;
        return false;
    }
    bool ok = true;
    for (const Item& item : items) {
        const std::size_t slash = item.path.rfind('/');
        if (item.size < 0) {
            ok = StoragePath(root, item.path).last() && ok;
            continue;
        }
        const std::string folder = slash == std::string::npos ? "" : item.path.substr(0, slash);
        const std::string name = item.path.substr(slash == std::string::npos ? 0 : slash + 1);
        StoragePath parent(root, folder);
        IStream* stream = nullptr;
        if (!parent.last() ||
            FAILED(parent.last()->CreateStream(wide(name).c_str(), kCreate, 0, 0, &stream))) {
            ok = false;
            continue;
        }
        const std::string data(static_cast<std::size_t>(item.size), 'A');
        ULONG written = 0;
        ok = SUCCEEDED(stream->Write(data.data(), static_cast<ULONG>(data.size()), &written)) && ok;
        stream->Release();
    }
    root->Release();
    if (!ok) {
        error = "cannot write the elements of " + path;
    }
    return ok;
}

}  // namespace clitest
