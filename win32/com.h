// COM for the Win32 layer: one owner per interface reference, and the thread's
// apartment for as long as an object that uses COM lives.
#pragma once

#include <objbase.h>

#include <utility>

namespace tessel::win32 {

// Owns one reference to a COM interface and releases it exactly once.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already holds (no AddRef).
    explicit ComRef(T* owned) noexcept : p_(owned) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComRef() { Reset(); }
    void Reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    T* operator->() const noexcept { return p_; }
    T* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For the out-parameter of a call that hands over a new reference.
    T** Put() noexcept {
        Reset();
        return &p_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
    // A second reference to the same object, for another owner.
    ComRef Share() const noexcept {
        if (p_) p_->AddRef();
        return ComRef(p_);
    }
    // Another interface of the same object; empty when it has none.
    template <typename U>
    ComRef<U> As() const noexcept {
        ComRef<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }

private:
    T* p_ = nullptr;
};

// COM for this thread (single-threaded apartment), released when the object goes if
// it was started here. A thread already in another apartment is usable as it is.
class ComApartment {
public:
    ComApartment() noexcept {
        const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        started_ = SUCCEEDED(hr);  // S_FALSE too: each success needs its uninitialise
        usable_ = started_ || hr == RPC_E_CHANGED_MODE;
    }
    ~ComApartment() {
        if (started_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool usable() const noexcept { return usable_; }

private:
    bool started_ = false, usable_ = false;
};

}  // namespace tessel::win32
