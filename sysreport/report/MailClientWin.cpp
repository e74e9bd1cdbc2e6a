// Mail on Windows: mail links through the shell, and Outlook through its
// automation interface, bound late through IDispatch.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "MailDelivery.h"
#include "WinText.h"

namespace sysreport {
namespace {

// A text argument or property value that frees itself.
class BstrArgument {
  public:
    explicit BstrArgument(const std::string& utf8) {
        VariantInit(&variant_);
        variant_.vt = VT_BSTR;
        variant_.bstrVal = SysAllocString(toWide(utf8).c_str());
    }
    ~BstrArgument() { VariantClear(&variant_); }
    BstrArgument(const BstrArgument&) = delete;
    BstrArgument& operator=(const BstrArgument&) = delete;
    VARIANT& variant() { return variant_; }

  private:
    VARIANT variant_;
};

// Why an automation call failed, in words.
std::string failureText(HRESULT hr, EXCEPINFO& exception) {
    std::string text;
    if (hr == DISP_E_EXCEPTION && exception.bstrDescription != nullptr) {
        text = fromWide(exception.bstrDescription, SysStringLen(exception.bstrDescription));
    }
    if (text.empty()) {
        text = systemErrorText(static_cast<DWORD>(hr));
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return text;
}

// Calls `member` of `object`; arguments are given in their natural order.
HRESULT invoke(IDispatch* object, const wchar_t* member, WORD kind, std::vector<VARIANT> arguments,
               VARIANT* result, std::string& error) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        error = fromWide(std::wstring(member)) + ": " + systemErrorText(static_cast<DWORD>(hr));
        return hr;
    }
    // IDispatch takes the arguments last to first.
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID namedPut = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &namedPut;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    if (result != nullptr) {
        VariantInit(result);
    }
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception,
                        nullptr);
    if (FAILED(hr)) {
        error = fromWide(std::wstring(member)) + ": " + failureText(hr, exception);
    }
    return hr;
}

HRESULT putText(IDispatch* object, const wchar_t* property, const std::string& text,
                std::string& error) {
    BstrArgument value(text);
    return invoke(object, property, DISPATCH_PROPERTYPUT, {value.variant()}, nullptr, error);
}

// The IDispatch inside a result, or null.
IDispatch* dispatchOf(VARIANT& result) {
    if (result.vt != VT_DISPATCH || result.pdispVal == nullptr) {
        VariantClear(&result);
        return nullptr;
    }
    return result.pdispVal;  // owned by the caller now
}

class WindowsMailClient : public MailClient {
  public:
    WindowsMailClient() : com_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~WindowsMailClient() override {
        if (outlook_ != nullptr) {
            outlook_->Release();
        }
        if (SUCCEEDED(com_)) {
            CoUninitialize();
        }
    }

    void openMailLink(const std::string& link) override {
        ShellExecuteW(nullptr, L"open", toWide(link).c_str(), nullptr, nullptr, SW_SHOW);
    }

    bool sendAutomated(const MailMessage& message, std::string& error) override {
        IDispatch* item = createMailItem(error);
        if (item == nullptr && outlook_ != nullptr) {
            // The application kept from an earlier mail may have been closed since.
            outlook_->Release();
            outlook_ = nullptr;
            item = createMailItem(error);
        }
        if (item == nullptr) {
            return false;
        }
        const bool sent = fillAndSend(item, message, error);
        item->Release();
        return sent;
    }

    bool canCompose() const override { return false; }

    bool composeWithAttachment(const MailMessage&, std::string& error) override {
        error = "no mail program can be given an attachment";
        return false;
    }

  private:
    // The application object is created on first use and kept for the whole run.
    bool ensureOutlook(std::string& error) {
        if (outlook_ != nullptr) {
            return true;
        }
        CLSID classId;
        HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &classId);
        if (FAILED(hr)) {
            error = "Outlook is not installed on this computer";
            return false;
        }
        hr = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&outlook_));
        if (FAILED(hr) || outlook_ == nullptr) {
            outlook_ = nullptr;
            error = "Outlook could not be started: " + systemErrorText(static_cast<DWORD>(hr));
            return false;
        }
        return true;
    }

    IDispatch* createMailItem(std::string& error) {
        if (!ensureOutlook(error)) {
            return nullptr;
        }
        VARIANT type;
        VariantInit(&type);
        type.vt = VT_I4;
        type.lVal = 0;  // a mail item
        VARIANT result;
        if (FAILED(invoke(outlook_, L"CreateItem", DISPATCH_METHOD, {type}, &result, error))) {
            return nullptr;
        }
        IDispatch* item = dispatchOf(result);
        if (item == nullptr) {
            error = "Outlook made no mail item";
        }
        return item;
    }

    static bool fillAndSend(IDispatch* item, const MailMessage& message, std::string& error) {
        if (FAILED(putText(item, L"To", message.to, error)) ||
            FAILED(putText(item, L"Subject", message.subject, error)) ||
            FAILED(putText(item, L"Body", message.body, error))) {
            return false;
        }
        VARIANT result;
        if (FAILED(invoke(item, L"Attachments", DISPATCH_PROPERTYGET, {}, &result, error))) {
            return false;
        }
        IDispatch* attachments = dispatchOf(result);
        if (attachments == nullptr) {
            error = "Outlook gave no attachment list";
            return false;
        }
        BstrArgument path(message.attachmentPath);
        VARIANT added;
        const HRESULT hr =
            invoke(attachments, L"Add", DISPATCH_METHOD, {path.variant()}, &added, error);
        VariantClear(&added);
        attachments->Release();
        if (FAILED(hr)) {
            return false;
        }
        VARIANT sent;
        const bool ok = SUCCEEDED(invoke(item, L"Send", DISPATCH_METHOD, {}, &sent, error));
        VariantClear(&sent);
        return ok;
    }

    HRESULT com_;
    IDispatch* outlook_ = nullptr;
};

}  // namespace

std::unique_ptr<MailClient> makePlatformMailClient(BusyWait&) {
    return std::make_unique<WindowsMailClient>();
}

}  // namespace sysreport
