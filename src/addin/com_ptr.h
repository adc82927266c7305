#pragma once
// Move-only owners of a COM interface reference and of a VARIANT.
#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace quillbridge {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over one reference the caller holds.
    explicit ComPtr(T* adopted) noexcept : p_(adopted) {}
    // Adds a reference of its own.
    static ComPtr Share(T* object) noexcept {
        if (object) object->AddRef();
        return ComPtr(object);
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For functions that hand out a reference through T**.
    T** Out() noexcept {
        Reset();
        return &p_;
    }
    // Released after the member is cleared: a Release that calls back finds no stale pointer.
    void Reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }

private:
    T* p_ = nullptr;
};

template <class T>
HRESULT QueryTo(IUnknown* object, REFIID iid, ComPtr<T>& out) noexcept {
    if (!object) return E_POINTER;
    return object->QueryInterface(iid, reinterpret_cast<void**>(out.Out()));
}

class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            VariantClear(&v_);
            v_ = other.v_;
            VariantInit(&other.v_);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }

    const VARIANT& get() const noexcept { return v_; }
    VARIANT* Out() noexcept {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

}  // namespace quillbridge
