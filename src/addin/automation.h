#pragma once
// Late-bound calls into Outlook's and Office's object model through IDispatch, by member name.
// Every failure, an exception raised by the object included, comes back as an HRESULT.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "addin/com_ptr.h"

namespace quillbridge {

// One argument as written in the call, left to right.
struct Argument {
    VARIANT value;
    static Argument Long(long number);
    static Argument Bool(bool flag);
    static Argument Missing();   // an optional argument left out
    // The text stays owned by the caller for the call's length.
    static Argument Text(BSTR text);
};

// Calls `member` with up to kMaxArguments arguments; `flags` as for IDispatch::Invoke.
inline constexpr unsigned kMaxArguments = 8;
HRESULT Call(IDispatch* object, const wchar_t* member, WORD flags, const Argument* arguments, unsigned count,
             VARIANT* result) noexcept;

// A property or method result that must be an object (a null object is a failure: E_POINTER).
HRESULT GetDispatch(IDispatch* object, const wchar_t* member, ComPtr<IDispatch>& out) noexcept;
HRESULT GetDispatch(IDispatch* object, const wchar_t* member, const Argument* arguments, unsigned count,
                  ComPtr<IDispatch>& out) noexcept;
HRESULT GetLong(IDispatch* object, const wchar_t* member, long& out) noexcept;
HRESULT GetBool(IDispatch* object, const wchar_t* member, bool& out) noexcept;
HRESULT GetText(IDispatch* object, const wchar_t* member, std::wstring& out);

HRESULT PutBool(IDispatch* object, const wchar_t* member, bool value) noexcept;
HRESULT PutLong(IDispatch* object, const wchar_t* member, long value) noexcept;
HRESULT PutText(IDispatch* object, const wchar_t* member, const wchar_t* value) noexcept;

// True when both are the same COM object (their IUnknown identities are equal).
bool SameObject(IUnknown* first, IUnknown* second) noexcept;

}  // namespace quillbridge
