// Windows back end of the document manager: the CAD host's in-process component,
// created by CLSID and called through its vtables by slot number.
#include <windows.h>

#include <cstddef>
#include <new>

#include "DocumentManager.h"
#include "Ole32Storage.h"
#include "PurgeDocument.h"

namespace purge {
namespace {

constexpr CLSID kClsidDocumentManager = {
    0x00AB5D8D, 0x2B8F, 0x416B, {0x97, 0x61, 0x92, 0xFA, 0xCC, 0x88, 0x72, 0xBE}};
constexpr IID kIidFactory = {
    0xBDF10361, 0x1191, 0x42F8, {0x80, 0xD7, 0x55, 0xB8, 0x6E, 0xBC, 0x9E, 0xDD}};
constexpr IID kIidNewerDocument = {
    0xC8C3092D, 0x9196, 0x4F6C, {0x9B, 0xA4, 0x5C, 0x12, 0x7F, 0xC3, 0x1E, 0x3B}};
constexpr IID kIidOlderDocument = {
    0x4E06C136, 0x843C, 0x49DA, {0xAE, 0xDA, 0x9C, 0x60, 0xF2, 0x9C, 0x78, 0x05}};
constexpr IID kIidStorage = {
    0x0000000B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The access key the component expects from its callers; empty for an installation
// that requires none.
constexpr char16_t kAccessKey[] = u"";

// Vtable layouts: only the slots the program calls are typed; the others are
// placeholders so that every typed slot sits at its number.
#define KT_UNKNOWN_SLOTS                                               \
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(void*, REFIID, void**); \
    ULONG(STDMETHODCALLTYPE* AddRef)(void*);                           \
    ULONG(STDMETHODCALLTYPE* Release)(void*)

struct UnknownVtbl {
    KT_UNKNOWN_SLOTS;
};

struct FactoryVtbl {
    KT_UNKNOWN_SLOTS;
    HRESULT(STDMETHODCALLTYPE* GetApplication)(void*, BSTR key, void** application);  // 3
};

struct ApplicationVtbl {
    KT_UNKNOWN_SLOTS;
    HRESULT(STDMETHODCALLTYPE* OpenDocument)
    (void*, BSTR path, LONG type, VARIANT_BOOL readOnly, LONG* openResult, void** document);  // 3
};

struct DocumentVtbl {
    KT_UNKNOWN_SLOTS;
    void* unused3to17[15];
    HRESULT(STDMETHODCALLTYPE* CloseDocument)(void*);  // 18
    void* unused19to35[17];
    HRESULT(STDMETHODCALLTYPE* Save)(void*, LONG* result);  // 36
};

struct NewerDocumentVtbl {
    KT_UNKNOWN_SLOTS;
    void* unused3to83[81];
    HRESULT(STDMETHODCALLTYPE* OpenStreamItem)
    (void*, BSTR name, VARIANT_BOOL flag,
     IUnknown** item);                                                              // 84
    HRESULT(STDMETHODCALLTYPE* ReleaseStreamItem)(void*, BSTR name, LONG* result);  // 85
    void* unused86to89[4];
    HRESULT(STDMETHODCALLTYPE* RemoveStorageItem)(void*, BSTR name, LONG* result);  // 90
    HRESULT(STDMETHODCALLTYPE* RemoveStreamItem)(void*, BSTR name, LONG* result);   // 91
};

struct OlderDocumentVtbl {
    KT_UNKNOWN_SLOTS;
    void* unused3to83[81];
    HRESULT(STDMETHODCALLTYPE* OpenStreamItem)
    (void*, BSTR name, VARIANT_BOOL flag,
     IUnknown** item);                                                              // 84
    HRESULT(STDMETHODCALLTYPE* ReleaseStreamItem)(void*, BSTR name, LONG* result);  // 85
    HRESULT(STDMETHODCALLTYPE* OpenStorageItem)
    (void*, BSTR name, VARIANT_BOOL flag,
     IUnknown** item);                                                               // 86
    HRESULT(STDMETHODCALLTYPE* ReleaseStorageItem)(void*, BSTR name, LONG* result);  // 87
};

#undef KT_UNKNOWN_SLOTS

constexpr std::size_t SlotOffset(int slot) {
    return slot * sizeof(void*);
}
static_assert(offsetof(FactoryVtbl, GetApplication) == SlotOffset(3));
static_assert(offsetof(ApplicationVtbl, OpenDocument) == SlotOffset(3));
static_assert(offsetof(DocumentVtbl, CloseDocument) == SlotOffset(18));
static_assert(offsetof(DocumentVtbl, Save) == SlotOffset(36));
static_assert(offsetof(NewerDocumentVtbl, OpenStreamItem) == SlotOffset(84));
static_assert(offsetof(NewerDocumentVtbl, ReleaseStreamItem) == SlotOffset(85));
static_assert(offsetof(NewerDocumentVtbl, RemoveStorageItem) == SlotOffset(90));
static_assert(offsetof(NewerDocumentVtbl, RemoveStreamItem) == SlotOffset(91));
static_assert(offsetof(OlderDocumentVtbl, OpenStreamItem) == SlotOffset(84));
static_assert(offsetof(OlderDocumentVtbl, ReleaseStorageItem) == SlotOffset(87));

// One reference to an interface pointer, released on destruction.
template <typename Vtbl>
class Interface {
  public:
    explicit Interface(void* pointer) : pointer_(pointer) {}
    ~Interface() { vtbl<UnknownVtbl>().Release(pointer_); }
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;

    const Vtbl& operator*() const { return vtbl<Vtbl>(); }
    void* get() const { return pointer_; }

    // Another interface of the same object, or null.
    template <typename Other>
    std::unique_ptr<Interface<Other>> query(const IID& iid) const {
        void* other = nullptr;
        if (FAILED(vtbl<UnknownVtbl>().QueryInterface(pointer_, iid, &other)) || !other) {
            return nullptr;
        }
        return std::make_unique<Interface<Other>>(other);
    }

  private:
    template <typename V>
    const V& vtbl() const {
        return **static_cast<V* const*>(pointer_);
    }
    void* pointer_;
};

// A BSTR for one call; allocation failure ends the operation as out of memory.
class Bstr {
  public:
    explicit Bstr(const std::u16string& text)
        : bstr_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                  static_cast<UINT>(text.size()))) {
        if (!bstr_) {
            throw std::bad_alloc();
        }
    }
    ~Bstr() { SysFreeString(bstr_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return bstr_; }

  private:
    BSTR bstr_;
};

class ComAddinItem : public AddinItem {
  public:
    explicit ComAddinItem(IUnknown* item) : item_(item) {}
    ~ComAddinItem() override { item_->Release(); }
    ComAddinItem(const ComAddinItem&) = delete;
    ComAddinItem& operator=(const ComAddinItem&) = delete;

    std::unique_ptr<Storage> queryStorage() override {
        void* storage = nullptr;
        if (FAILED(item_->QueryInterface(kIidStorage, &storage)) || !storage) {
            return nullptr;
        }
        return WrapOle32Storage(static_cast<IStorage*>(storage));
    }

  private:
    IUnknown* item_;
};

std::unique_ptr<AddinItem> ItemOf(HRESULT hr, IUnknown* item) {
    if (FAILED(hr) || !item) {
        if (item) {
            item->Release();
        }
        return nullptr;
    }
    return std::make_unique<ComAddinItem>(item);
}

VARIANT_BOOL VariantBool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

class ComNewerDocument : public NewerDocument {
  public:
    explicit ComNewerDocument(std::unique_ptr<Interface<NewerDocumentVtbl>> i) : i_(std::move(i)) {}

    bool removeStorageItem(const std::u16string& name) override {
        LONG result = 0;
        return SUCCEEDED((**i_).RemoveStorageItem(i_->get(), Bstr(name), &result));
    }
    bool removeStreamItem(const std::u16string& name) override {
        LONG result = 0;
        return SUCCEEDED((**i_).RemoveStreamItem(i_->get(), Bstr(name), &result));
    }
    std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) override {
        IUnknown* item = nullptr;
        const HRESULT hr = (**i_).OpenStreamItem(i_->get(), Bstr(name), VariantBool(flag), &item);
        return ItemOf(hr, item);
    }
    bool releaseStreamItem(const std::u16string& name) override {
        LONG result = 0;
        return SUCCEEDED((**i_).ReleaseStreamItem(i_->get(), Bstr(name), &result));
    }

  private:
    std::unique_ptr<Interface<NewerDocumentVtbl>> i_;
};

class ComOlderDocument : public OlderDocument {
  public:
    explicit ComOlderDocument(std::unique_ptr<Interface<OlderDocumentVtbl>> i) : i_(std::move(i)) {}

    std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) override {
        IUnknown* item = nullptr;
        const HRESULT hr = (**i_).OpenStreamItem(i_->get(), Bstr(name), VariantBool(flag), &item);
        return ItemOf(hr, item);
    }
    bool releaseStreamItem(const std::u16string& name) override {
        LONG result = 0;
        return SUCCEEDED((**i_).ReleaseStreamItem(i_->get(), Bstr(name), &result));
    }
    std::unique_ptr<AddinItem> openStorageItem(const std::u16string& name, bool flag) override {
        IUnknown* item = nullptr;
        const HRESULT hr = (**i_).OpenStorageItem(i_->get(), Bstr(name), VariantBool(flag), &item);
        return ItemOf(hr, item);
    }
    bool releaseStorageItem(const std::u16string& name) override {
        LONG result = 0;
        return SUCCEEDED((**i_).ReleaseStorageItem(i_->get(), Bstr(name), &result));
    }

  private:
    std::unique_ptr<Interface<OlderDocumentVtbl>> i_;
};

class ComDocument : public ManagedDocument {
  public:
    explicit ComDocument(void* document) : i_(document) {}

    std::int32_t save() override {
        LONG result = -1;
        if (FAILED((*i_).Save(i_.get(), &result))) {
            return -1;
        }
        return result;
    }
    void close() override { (*i_).CloseDocument(i_.get()); }
    std::unique_ptr<NewerDocument> queryNewer() override {
        auto newer = i_.query<NewerDocumentVtbl>(kIidNewerDocument);
        return newer ? std::make_unique<ComNewerDocument>(std::move(newer)) : nullptr;
    }
    std::unique_ptr<OlderDocument> queryOlder() override {
        auto older = i_.query<OlderDocumentVtbl>(kIidOlderDocument);
        return older ? std::make_unique<ComOlderDocument>(std::move(older)) : nullptr;
    }

  private:
    Interface<DocumentVtbl> i_;
};

class ComApplication : public DocumentApplication {
  public:
    explicit ComApplication(void* application) : i_(application) {}

    std::unique_ptr<ManagedDocument> openDocument(const std::u16string& path,
                                                  DocumentType type) override {
        LONG openResult = 0;
        void* document = nullptr;
        const HRESULT hr = (*i_).OpenDocument(i_.get(), Bstr(path), static_cast<LONG>(type),
                                              VARIANT_FALSE, &openResult, &document);
        if (!document) {
            return nullptr;
        }
        auto result = std::make_unique<ComDocument>(document);
        return SUCCEEDED(hr) ? std::move(result) : nullptr;
    }

  private:
    Interface<ApplicationVtbl> i_;
};

class ComFactory : public DocumentFactory {
  public:
    explicit ComFactory(void* factory) : i_(factory) {}

    std::unique_ptr<DocumentApplication> getApplication() override {
        void* application = nullptr;
        const HRESULT hr = (*i_).GetApplication(i_.get(), Bstr(kAccessKey), &application);
        if (!application) {
            return nullptr;
        }
        auto result = std::make_unique<ComApplication>(application);
        return SUCCEEDED(hr) ? std::move(result) : nullptr;
    }

  private:
    Interface<FactoryVtbl> i_;
};

class ComDocumentManager : public DocumentManager {
  public:
    std::unique_ptr<DocumentFactory> createFactory() override {
        void* factory = nullptr;
        const HRESULT hr = CoCreateInstance(kClsidDocumentManager, nullptr, CLSCTX_INPROC_SERVER,
                                            kIidFactory, &factory);
        if (!factory) {
            return nullptr;
        }
        auto result = std::make_unique<ComFactory>(factory);
        return SUCCEEDED(hr) ? std::move(result) : nullptr;
    }
};

}  // namespace

DocumentManager& platformDocumentManager() {
    static ComDocumentManager manager;
    return manager;
}

}  // namespace purge
