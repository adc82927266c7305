#include "dispatch_object.h"

namespace outlook_double {

const VARIANT* Arguments::At(size_t index) const {
    if (index >= Count()) return nullptr;
    // DISPPARAMS holds the arguments last to first, after the named ones.
    const VARIANT* value = &params_->rgvarg[params_->cArgs - 1 - index];
    while (value && value->vt == (VT_VARIANT | VT_BYREF)) value = value->pvarVal;
    if (!value || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND) || value->vt == VT_EMPTY) return nullptr;
    return value;
}

const VARIANT* Arguments::PutValue() const {
    if (!params_ || params_->cArgs == 0) return nullptr;
    return &params_->rgvarg[0];
}

std::string Arguments::Text(size_t index, bool* ok) const {
    const VARIANT* value = At(index);
    VARIANT converted;
    VariantInit(&converted);
    if (!value || FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR))) {
        if (ok) *ok = false;
        return {};
    }
    std::string text = Narrow(std::wstring(converted.bstrVal, SysStringLen(converted.bstrVal)));
    VariantClear(&converted);
    if (ok) *ok = true;
    return text;
}

long Arguments::Long(size_t index, bool* ok) const {
    const VARIANT* value = At(index);
    VARIANT converted;
    VariantInit(&converted);
    if (!value || FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4))) {
        if (ok) *ok = false;
        return 0;
    }
    if (ok) *ok = true;
    return converted.lVal;
}

IDispatch* Arguments::Dispatch(size_t index) const {
    const VARIANT* value = At(index);
    if (!value) return nullptr;
    if (value->vt == VT_DISPATCH) return value->pdispVal;
    if (value->vt == (VT_DISPATCH | VT_BYREF) && value->ppdispVal) return *value->ppdispVal;
    return nullptr;
}

DispatchObject::DispatchObject(const wchar_t* className, std::vector<const wchar_t*> members)
    : className_(className), members_(std::move(members)) {
    ServerState::Get().ObjectCreated();
}

DispatchObject::~DispatchObject() { ServerState::Get().ObjectDestroyed(); }

STDMETHODIMP DispatchObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) DispatchObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (size_t m = 0; m < members_.size(); ++m) {
        if (names[0] && lstrcmpiW(names[0], members_[m]) == 0) {
            ids[0] = static_cast<DISPID>(m + 1);
            break;
        }
    }
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    if (count > 1) hr = DISP_E_UNKNOWNNAME;   // named arguments are not used by our callers
    return hr;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT* argError) {
    if (argError) *argError = 0;
    // DISPID_VALUE (0) is the default member: Item for collections.
    size_t member = 0;
    if (id == DISPID_VALUE) {
        for (size_t m = 0; m < members_.size(); ++m)
            if (lstrcmpiW(members_[m], L"Item") == 0) member = m + 1;
    } else {
        member = static_cast<size_t>(id);
    }
    if (member == 0 || member > members_.size()) return DISP_E_MEMBERNOTFOUND;
    --member;
    if (result) VariantInit(result);

    const std::string name = Narrow(std::wstring(className_) + L"." + members_[member]);
    {
        const Arguments args(params);
        ServerState::Get().LogCall(name, IsPut(flags) ? std::string("(put)") : args.Count() ? args.Text(0) : std::string());
    }
    CallError error;
    if (const auto fault = ServerState::Get().store().Fault(name)) {
        error = {static_cast<HRESULT>(*fault), L"The operation failed (fault switched on for " + Widen(name) + L")."};
    } else {
        VARIANT local;
        VariantInit(&local);
        error = Call(member, flags, Arguments(params), result ? result : &local);
        VariantClear(&local);
    }
    if (error.code == S_OK) return S_OK;
    if (error.code == DISP_E_MEMBERNOTFOUND || error.code == DISP_E_BADPARAMCOUNT || error.code == DISP_E_TYPEMISMATCH)
        return error.code;
    if (exception) {
        ZeroMemory(exception, sizeof *exception);
        exception->scode = error.code;
        exception->bstrSource = SysAllocString(L"Microsoft Outlook");
        exception->bstrDescription = SysAllocString(error.text.c_str());
    }
    return DISP_E_EXCEPTION;
}

void ReturnText(VARIANT* result, const std::string& text) {
    result->vt = VT_BSTR;
    const std::wstring wide = Widen(text);
    result->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void ReturnBool(VARIANT* result, bool value) {
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void ReturnLong(VARIANT* result, long value) {
    result->vt = VT_I4;
    result->lVal = value;
}

void ReturnObject(VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}

CallError Fail(HRESULT code, const wchar_t* text) { return {code, text}; }
CallError BadArgument() { return {E_INVALIDARG, L"One or more parameter values are not valid."}; }
CallError NotFound() { return {static_cast<HRESULT>(0x8004010F), L"The operation failed. An object could not be found."}; }

}  // namespace outlook_double
