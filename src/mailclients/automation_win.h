#pragma once
// Late-bound automation: calls by member name through IDispatch, no type library. A failing call
// throws AutomationFailure, which the mail-client bridge catches at each operation's edge.
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace pagelark {

struct AutomationFailure {
    HRESULT code = E_FAIL;
    std::string text;   // the failure's description, as the server or the system words it
};

// The system's text for an HRESULT (without the trailing line break).
std::string SystemErrorText(HRESULT code);

// A VARIANT that clears itself. Move-only.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    explicit Variant(const std::string& text);
    explicit Variant(long number);
    static Variant Bool(bool value);
    static Variant Missing();   // an optional argument left out
    static Variant Object(IDispatch* object);   // AddRef'ed
    ~Variant() { VariantClear(&value_); }
    Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& value() const { return value_; }
    std::string Text() const;   // converted; throws when it cannot be
    bool AsBool() const;
    long AsLong() const;

private:
    VARIANT value_;
};

// An IDispatch pointer that releases itself. Move-only.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* adopted) : object_(adopted) {}
    ~Dispatch() { Reset(); }
    Dispatch(Dispatch&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Dispatch& operator=(Dispatch&& other) noexcept;
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    IDispatch* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void Reset();

    // Property get and put, method call (arguments in written order).
    Variant Get(const wchar_t* name) const;
    void Put(const wchar_t* name, Variant value) const;
    Variant Call(const wchar_t* name, std::initializer_list<Variant*> arguments = {}) const;
    // The result as an object; throws when the member gives none.
    Dispatch GetObject(const wchar_t* name) const;
    Dispatch CallObject(const wchar_t* name, std::initializer_list<Variant*> arguments = {}) const;
    std::string GetText(const wchar_t* name) const { return Get(name).Text(); }
    void PutText(const wchar_t* name, const std::string& text) const { Put(name, Variant(text)); }

    static Dispatch FromVariant(Variant value, const wchar_t* what);

private:
    Variant Invoke(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count, bool put) const;
    IDispatch* object_ = nullptr;
};

// An IUnknown pointer that releases itself. Move-only.
class Unknown {
public:
    Unknown() = default;
    explicit Unknown(IUnknown* adopted) : object_(adopted) {}
    ~Unknown() { if (object_) object_->Release(); }
    Unknown(Unknown&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Unknown& operator=(Unknown&&) = delete;
    Unknown(const Unknown&) = delete;
    Unknown& operator=(const Unknown&) = delete;
    IUnknown* get() const { return object_; }

private:
    IUnknown* object_ = nullptr;
};

[[noreturn]] void ThrowFailure(HRESULT code, const std::string& text = {});

}  // namespace pagelark
