#include "mailclients/automation_win.h"

#include <vector>

#include "common/wide_string_win.h"

namespace pagelark {

std::string SystemErrorText(HRESULT code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) {
        wchar_t number[32];
        swprintf(number, 32, L"Error 0x%08lX", static_cast<unsigned long>(code));
        text = number;
    }
    return Narrow(text);
}

void ThrowFailure(HRESULT code, const std::string& text) {
    throw AutomationFailure{code, text.empty() ? SystemErrorText(code) : text};
}

Variant::Variant(const std::string& text) {
    VariantInit(&value_);
    const std::wstring wide = Widen(text);
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!value_.bstrVal) ThrowFailure(E_OUTOFMEMORY);
}

Variant::Variant(long number) {
    VariantInit(&value_);
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::Missing() {
    Variant v;
    v.value_.vt = VT_ERROR;
    v.value_.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

Variant Variant::Object(IDispatch* object) {
    Variant v;
    v.value_.vt = VT_DISPATCH;
    v.value_.pdispVal = object;
    if (object) object->AddRef();
    return v;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

std::string Variant::Text() const {
    if (value_.vt == VT_BSTR) return Narrow(std::wstring_view(value_.bstrVal ? value_.bstrVal : L"", SysStringLen(value_.bstrVal)));
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_BSTR);
    if (FAILED(hr)) ThrowFailure(hr);
    std::string text = Narrow(std::wstring_view(converted.bstrVal ? converted.bstrVal : L"", SysStringLen(converted.bstrVal)));
    VariantClear(&converted);
    return text;
}

bool Variant::AsBool() const {
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_BOOL);
    if (FAILED(hr)) ThrowFailure(hr);
    return converted.boolVal != VARIANT_FALSE;
}

long Variant::AsLong() const {
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_I4);
    if (FAILED(hr)) ThrowFailure(hr);
    return converted.lVal;
}

Dispatch& Dispatch::operator=(Dispatch&& other) noexcept {
    if (this != &other) {
        Reset();
        object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
}

void Dispatch::Reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
}

Variant Dispatch::Invoke(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count, bool put) const {
    if (!object_) ThrowFailure(E_POINTER);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR member = const_cast<LPOLESTR>(name);
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) ThrowFailure(hr, SystemErrorText(hr) + " (" + Narrow(name) + ")");
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments, put ? &namedPut : nullptr, count, put ? 1u : 0u};
    Variant result;
    EXCEPINFO exception{};
    hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), &exception, nullptr);
    if (FAILED(hr)) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        std::string text;
        HRESULT code = hr;
        if (hr == DISP_E_EXCEPTION) {
            if (exception.scode) code = exception.scode;
            if (exception.bstrDescription) text = Narrow(exception.bstrDescription);
        }
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        ThrowFailure(code, text);
    }
    return result;
}

Variant Dispatch::Get(const wchar_t* name) const { return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0, false); }

void Dispatch::Put(const wchar_t* name, Variant value) const { Invoke(name, DISPATCH_PROPERTYPUT, value.get(), 1, true); }

Variant Dispatch::Call(const wchar_t* name, std::initializer_list<Variant*> arguments) const {
    // DISPPARAMS wants the arguments last to first.
    std::vector<VARIANT> reversed;
    for (auto it = arguments.end(); it != arguments.begin();) reversed.push_back(*(*--it)->get());
    return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, reversed.data(), static_cast<UINT>(reversed.size()), false);
}

Dispatch Dispatch::FromVariant(Variant value, const wchar_t* what) {
    VARIANT& v = *value.get();
    if (v.vt == VT_DISPATCH && v.pdispVal) return Dispatch(std::exchange(v.pdispVal, nullptr));
    if (v.vt == VT_UNKNOWN && v.punkVal) {
        IDispatch* object = nullptr;
        const HRESULT hr = v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
        if (SUCCEEDED(hr)) return Dispatch(object);
    }
    ThrowFailure(E_NOINTERFACE, SystemErrorText(E_NOINTERFACE) + " (" + Narrow(what) + ")");
}

Dispatch Dispatch::GetObject(const wchar_t* name) const { return FromVariant(Get(name), name); }

Dispatch Dispatch::CallObject(const wchar_t* name, std::initializer_list<Variant*> arguments) const {
    return FromVariant(Call(name, arguments), name);
}

}  // namespace pagelark
