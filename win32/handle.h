// One owner per handle: a move-only wrapper that frees its handle exactly once, the
// traits of every kind of handle the two programs own, and guards that undo a
// SelectObject or give back a window's device context.
#pragma once

#include <windows.h>

#include <utility>

namespace tessel::win32 {

// Traits name the handle type (`pointer`), the value that means "none" (`invalid()`)
// and how to free one (`close()`); traits whose handles have two "none" values say so
// with `valid()`.
template <typename Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;

    unique_handle() noexcept = default;
    explicit unique_handle(pointer value) noexcept : value_(value) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : value_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Valid(value_); }
    // Gives the handle up without freeing it (to whoever takes it over).
    pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(pointer value = Traits::invalid()) noexcept {
        const pointer old = std::exchange(value_, value);
        if (Valid(old)) Traits::close(old);
    }

private:
    static bool Valid(pointer value) noexcept {
        if constexpr (requires { Traits::valid(value); }) {
            return Traits::valid(value);
        } else {
            return value != Traits::invalid();
        }
    }
    pointer value_ = Traits::invalid();
};

// Handles whose "none" is null, freed by one function.
template <typename P, auto Close>
struct Traits {
    using pointer = P;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { Close(p); }
};

// Kernel objects: CreateMutex and its kind fail with null, CreateFile and its kind with
// INVALID_HANDLE_VALUE; neither is ever closed.
struct KernelHandleTraits : Traits<HANDLE, &::CloseHandle> {
    static bool valid(pointer p) noexcept { return p != nullptr && p != INVALID_HANDLE_VALUE; }
};

using unique_hbitmap = unique_handle<Traits<HBITMAP, &::DeleteObject>>;
using unique_hbrush = unique_handle<Traits<HBRUSH, &::DeleteObject>>;
using unique_hfont = unique_handle<Traits<HFONT, &::DeleteObject>>;
using unique_hrgn = unique_handle<Traits<HRGN, &::DeleteObject>>;
using unique_hicon = unique_handle<Traits<HICON, &::DestroyIcon>>;
// A menu frees its submenus with it.
using unique_hmenu = unique_handle<Traits<HMENU, &::DestroyMenu>>;
using unique_hwnd = unique_handle<Traits<HWND, &::DestroyWindow>>;
using unique_kernel_handle = unique_handle<KernelHandleTraits>;
// A search of FindFirstFile and its kind: INVALID_HANDLE_VALUE when none.
struct FindHandleTraits : Traits<HANDLE, &::FindClose> {
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
};
using unique_find_handle = unique_handle<FindHandleTraits>;
using unique_memory_dc = unique_handle<Traits<HDC, &::DeleteDC>>;
using unique_hglobal = unique_handle<Traits<HGLOBAL, &::GlobalFree>>;

// Selects an object into a DC and puts the previous one back when it goes.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectObjectGuard() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC and ReleaseDC of one window (null: the screen).
class WindowDcGuard {
public:
    explicit WindowDcGuard(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDcGuard() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDcGuard(const WindowDcGuard&) = delete;
    WindowDcGuard& operator=(const WindowDcGuard&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace tessel::win32
