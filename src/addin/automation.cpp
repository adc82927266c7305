#include "addin/automation.h"

namespace quillbridge {

Argument Argument::Long(long number) {
    Argument a;
    VariantInit(&a.value);
    a.value.vt = VT_I4;
    a.value.lVal = number;
    return a;
}

Argument Argument::Bool(bool flag) {
    Argument a;
    VariantInit(&a.value);
    a.value.vt = VT_BOOL;
    a.value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return a;
}

Argument Argument::Missing() {
    Argument a;
    VariantInit(&a.value);
    a.value.vt = VT_ERROR;
    a.value.scode = DISP_E_PARAMNOTFOUND;
    return a;
}

Argument Argument::Text(BSTR text) {
    Argument a;
    VariantInit(&a.value);
    a.value.vt = VT_BSTR;
    a.value.bstrVal = text;
    return a;
}

HRESULT Call(IDispatch* object, const wchar_t* member, WORD flags, const Argument* arguments, unsigned count,
             VARIANT* result) noexcept {
    if (!object) return E_POINTER;
    if (count > kMaxArguments) return E_INVALIDARG;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    // DISPPARAMS lists the arguments last to first.
    VARIANT reversed[kMaxArguments];
    for (unsigned i = 0; i < count; ++i) reversed[count - 1 - i] = arguments[i].value;
    DISPPARAMS params{count ? reversed : nullptr, nullptr, count, 0};
    DISPID putId = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argumentError);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        hr = FAILED(exception.scode) ? exception.scode : E_FAIL;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return hr;
}

HRESULT GetDispatch(IDispatch* object, const wchar_t* member, ComPtr<IDispatch>& out) noexcept {
    return GetDispatch(object, member, nullptr, 0, out);
}

HRESULT GetDispatch(IDispatch* object, const wchar_t* member, const Argument* arguments, unsigned count,
                  ComPtr<IDispatch>& out) noexcept {
    out.Reset();
    Variant result;
    const HRESULT hr = Call(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, count, result.Out());
    if (FAILED(hr)) return hr;
    const VARIANT& v = result.get();
    IUnknown* unknown = nullptr;
    if (v.vt == VT_DISPATCH) unknown = v.pdispVal;
    else if (v.vt == VT_UNKNOWN) unknown = v.punkVal;
    if (!unknown) return E_POINTER;
    return QueryTo(unknown, IID_IDispatch, out);
}

namespace {

HRESULT GetAs(IDispatch* object, const wchar_t* member, VARTYPE type, Variant& converted) noexcept {
    Variant result;
    HRESULT hr = Call(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0, result.Out());
    if (FAILED(hr)) return hr;
    return VariantChangeType(converted.Out(), const_cast<VARIANT*>(&result.get()), 0, type);
}

}  // namespace

HRESULT GetLong(IDispatch* object, const wchar_t* member, long& out) noexcept {
    Variant value;
    const HRESULT hr = GetAs(object, member, VT_I4, value);
    if (SUCCEEDED(hr)) out = value.get().lVal;
    return hr;
}

HRESULT GetBool(IDispatch* object, const wchar_t* member, bool& out) noexcept {
    Variant value;
    const HRESULT hr = GetAs(object, member, VT_BOOL, value);
    if (SUCCEEDED(hr)) out = value.get().boolVal != VARIANT_FALSE;
    return hr;
}

HRESULT GetText(IDispatch* object, const wchar_t* member, std::wstring& out) {
    Variant value;
    const HRESULT hr = GetAs(object, member, VT_BSTR, value);
    if (SUCCEEDED(hr)) {
        const BSTR text = value.get().bstrVal;
        out.assign(text ? text : L"", text ? SysStringLen(text) : 0);
    }
    return hr;
}

HRESULT PutBool(IDispatch* object, const wchar_t* member, bool value) noexcept {
    const Argument argument = Argument::Bool(value);
    return Call(object, member, DISPATCH_PROPERTYPUT, &argument, 1, nullptr);
}

HRESULT PutLong(IDispatch* object, const wchar_t* member, long value) noexcept {
    const Argument argument = Argument::Long(value);
    return Call(object, member, DISPATCH_PROPERTYPUT, &argument, 1, nullptr);
}

HRESULT PutText(IDispatch* object, const wchar_t* member, const wchar_t* value) noexcept {
    BSTR text = SysAllocString(value);
    if (!text) return E_OUTOFMEMORY;
    const Argument argument = Argument::Text(text);
    const HRESULT hr = Call(object, member, DISPATCH_PROPERTYPUT, &argument, 1, nullptr);
    SysFreeString(text);
    return hr;
}

bool SameObject(IUnknown* first, IUnknown* second) noexcept {
    if (!first || !second) return false;
    ComPtr<IUnknown> a, b;
    if (FAILED(QueryTo(first, IID_IUnknown, a)) || FAILED(QueryTo(second, IID_IUnknown, b))) return false;
    return a.get() == b.get();
}

}  // namespace quillbridge
