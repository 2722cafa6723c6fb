#pragma once

#include <windows.h>

#include <utility>

namespace kestrum::win32 {

// Sole owner of one Win32 handle or GDI object: released on every path out of its scope, moved
// but never copied. Traits name the handle type, its "none" value and how it is released.
template <typename Traits>
class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }

    // For the system calls that hand a new handle back through a pointer.
    Handle* receive() {
        reset();
        return &handle_;
    }
    Handle release() { return std::exchange(handle_, Traits::None()); }
    void reset(Handle handle = Traits::None()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::None()) {
            Traits::Close(old);
        }
    }

  private:
    Handle handle_ = Traits::None();
};

// Kernel objects whose failure value is NULL (processes, threads, tokens, mutexes).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};

// Files, whose failure value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

// Any GDI object released with DeleteObject (fonts, brushes, pens, bitmaps, regions).
template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};

// A COM interface pointer: the reference it holds is released.
template <typename T>
struct ComTraits {
    using Handle = T*;
    static Handle None() { return nullptr; }
    static void Close(Handle p) { p->Release(); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

// A memory device context, released with DeleteDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};

// A device context of the whole screen, as GetDC(nullptr) gives it.
struct ScreenDcTraits {
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { ReleaseDC(nullptr, h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using PenHandle = UniqueHandle<GdiObjectTraits<HPEN>>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using RegionHandle = UniqueHandle<GdiObjectTraits<HRGN>>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using ScreenDc = UniqueHandle<ScreenDcTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
template <typename T>
using ComPtr = UniqueHandle<ComTraits<T>>;

}  // namespace kestrum::win32
