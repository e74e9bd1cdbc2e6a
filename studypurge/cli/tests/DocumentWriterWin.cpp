// Windows: test documents are written by the system's structured storage.
#include <objbase.h>
#include <windows.h>

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

// Opens or creates the storage path below `root`; the caller releases it.
IStorage* storageAt(IStorage* root, const std::string& path) {
    root->AddRef();
    IStorage* at = root;
    std::size_t from = 0;
    while (from < path.size()) {
        const std::size_t slash = path.find('/', from);
        const std::wstring name = wide(path.substr(from, slash - from));
        IStorage* next = nullptr;
        if (FAILED(at->OpenStorage(name.c_str(), nullptr, kOpen, nullptr, 0, &next)) &&
            FAILED(at->CreateStorage(name.c_str(), kCreate, 0, 0, &next))) {
            next = nullptr;
        }
        at->Release();
        if (!next) {
            return nullptr;
        }
        at = next;
        from = slash == std::string::npos ? path.size() : slash + 1;
    }
    return at;
}

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
        const std::string folder = slash == std::string::npos ? "" : item.path.substr(0, slash);
        const std::string name = item.path.substr(slash == std::string::npos ? 0 : slash + 1);
        if (item.size < 0) {
            IStorage* s = storageAt(root, item.path);
            ok = ok && s;
            if (s) {
                s->Release();
            }
            continue;
        }
        IStorage* parent = storageAt(root, folder);
        IStream* stream = nullptr;
        if (!parent || FAILED(parent->CreateStream(wide(name).c_str(), kCreate, 0, 0, &stream))) {
            ok = false;
        } else {
            const std::string data(static_cast<std::size_t>(item.size), 'A');
            ULONG written = 0;
            ok = ok &&
                 SUCCEEDED(stream->Write(data.data(), static_cast<ULONG>(data.size()), &written));
            stream->Release();
        }
        if (parent) {
            parent->Release();
        }
    }
    root->Release();
    if (!ok) {
        error = "cannot write the elements of " + path;
    }
    return ok;
}

}  // namespace clitest
