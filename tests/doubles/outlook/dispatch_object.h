#pragma once
// Base of the double's automation objects: IDispatch by name (the object model's published member
// names, looked up case-insensitively), fault switches per "Class.Member", live-object counting.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "server_state.h"

namespace outlook_double {

// Arguments of one Invoke in their written order; a left-out optional argument reads as missing.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS* params) : params_(params) {}
    size_t Count() const { return params_ ? params_->cArgs - params_->cNamedArgs : 0; }
    const VARIANT* At(size_t index) const;   // nullptr when missing
    // The value of a property put.
    const VARIANT* PutValue() const;
    std::string Text(size_t index, bool* ok = nullptr) const;
    long Long(size_t index, bool* ok = nullptr) const;
    IDispatch* Dispatch(size_t index) const;   // not AddRef'ed

private:
    const DISPPARAMS* params_;
};

// What a member call fails with: the HRESULT and a text for EXCEPINFO.
struct CallError {
    HRESULT code = S_OK;
    std::wstring text;
};

class DispatchObject : public IDispatch {
public:
    DispatchObject(const wchar_t* className, std::vector<const wchar_t*> members);
    virtual ~DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

protected:
    // `member` is the index into the member list given at construction.
    virtual CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) = 0;
    static bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

private:
    LONG references_ = 1;
    const wchar_t* className_;
    std::vector<const wchar_t*> members_;
};

// Result helpers.
void ReturnText(VARIANT* result, const std::string& text);
void ReturnBool(VARIANT* result, bool value);
void ReturnLong(VARIANT* result, long value);
// Hands over the object's one reference.
void ReturnObject(VARIANT* result, IDispatch* object);
CallError Fail(HRESULT code, const wchar_t* text);
CallError BadArgument();
CallError NotFound();

}  // namespace outlook_double
