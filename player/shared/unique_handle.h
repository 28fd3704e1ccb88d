// One owner per handle: a move-only wrapper that frees a GDI object, icon, kernel
// handle or window exactly once, plus guards that undo a SelectObject or release a DC.
#pragma once

#include <windows.h>

#include <utility>

namespace tessel::player {

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
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(pointer value = Traits::invalid()) noexcept {
        pointer old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    pointer value_ = Traits::invalid();
};

template <typename T>
struct GdiTraits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::DeleteObject(p); }
};

struct IconTraits {
    using pointer = HICON;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::DestroyIcon(p); }
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::CloseHandle(p); }
};

// CreateFile and friends report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer p) noexcept { ::CloseHandle(p); }
};

struct WindowTraits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::DestroyWindow(p); }
};

struct MenuTraits {
    using pointer = HMENU;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::DestroyMenu(p); }
};

struct MemoryDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::DeleteDC(p); }
};

using unique_hbitmap = unique_handle<GdiTraits<HBITMAP>>;
using unique_hbrush = unique_handle<GdiTraits<HBRUSH>>;
using unique_hfont = unique_handle<GdiTraits<HFONT>>;
using unique_hrgn = unique_handle<GdiTraits<HRGN>>;
using unique_hicon = unique_handle<IconTraits>;
using unique_kernel_handle = unique_handle<KernelHandleTraits>;
using unique_file_handle = unique_handle<FileHandleTraits>;
using unique_hwnd = unique_handle<WindowTraits>;
using unique_hmenu = unique_handle<MenuTraits>;
using unique_memory_dc = unique_handle<MemoryDcTraits>;

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

// GetDC / ReleaseDC for one window.
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

}  // namespace tessel::player
