// The CAD host's automation server, bound late through IDispatch.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cmath>

#include "SystemFacts.h"
#include "WinText.h"

namespace sysreport {
namespace {

// COM for the calling thread for as long as this object lives.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }

  private:
    HRESULT result_;
};

HRESULT invoke(IDispatch* object, const wchar_t* member, WORD kind, VARIANT& result) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    DISPPARAMS noArguments{};
    VariantInit(&result);
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &noArguments, &result, nullptr,
                          nullptr);
}

long long dateCodeOf(VARIANT& value) {
    VARIANT number;
    VariantInit(&number);
    long long code = 0;
    if (SUCCEEDED(VariantChangeType(&number, &value, 0, VT_R8))) {
        code = std::llround(number.dblVal);
    }
    VariantClear(&number);
    return code;
}

std::string textOf(VARIANT& value) {
    VARIANT text;
    VariantInit(&text);
    std::string result;
    if (SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)) && text.bstrVal != nullptr) {
        result = fromWide(text.bstrVal, SysStringLen(text.bstrVal));
    }
    VariantClear(&text);
    return result;
}

class AutomationCadHost : public CadHost {
  public:
    std::optional<CadHostInfo> readInfo() override {
        ComScope com;
        CLSID classId;
        if (FAILED(CLSIDFromProgID(L"Plandry.Application", &classId))) {
            return std::nullopt;
        }
        IDispatch* host = nullptr;
        if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                    IID_IDispatch, reinterpret_cast<void**>(&host))) ||
            host == nullptr) {
            return std::nullopt;
        }
        CadHostInfo info;
        VARIANT value;
        if (SUCCEEDED(invoke(host, L"DateCode", DISPATCH_PROPERTYGET, value))) {
            info.dateCode = dateCodeOf(value);
        }
        VariantClear(&value);
        if (SUCCEEDED(invoke(host, L"RevisionNumber", DISPATCH_PROPERTYGET, value))) {
            info.revisionNumber = textOf(value);
        }
        VariantClear(&value);
        invoke(host, L"ExitApp", DISPATCH_METHOD, value);
        VariantClear(&value);
        host->Release();
        return info;
    }
};

}  // namespace

std::unique_ptr<CadHost> makePlatformCadHost() {
    return std::make_unique<AutomationCadHost>();
}

}  // namespace sysreport
