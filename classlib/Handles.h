// Move-only owners of Win32 handles. The traits name the value that means
// "no handle" (NULL for events and threads, INVALID_HANDLE_VALUE for files)
// and how to release one.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class TUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    TUniqueHandle() noexcept = default;
    explicit TUniqueHandle(Handle h) noexcept : FHandle(h) {}
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() { Reset(); }

    Handle Get() const noexcept { return FHandle; }
    bool Valid() const noexcept { return FHandle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    Handle Release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
    void Reset(Handle h = Traits::Invalid()) noexcept
    {
        const Handle old = std::exchange(FHandle, h);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle FHandle = Traits::Invalid();
};

// Events, threads and other kernel objects: NULL when creation failed.
struct TKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

// Files and devices from CreateFile: INVALID_HANDLE_VALUE when opening failed.
struct TFileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

// Heap blocks from LocalAlloc.
struct TLocalMemTraits {
    using Handle = HLOCAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};

// GDI objects (bitmaps, brushes, fonts, regions) and memory DCs: NULL when
// creation failed.
struct TGdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct TMemoryDCTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};

struct TIconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<TFileHandleTraits>;
using TLocalBlock = TUniqueHandle<TLocalMemTraits>;
using TGdiObject = TUniqueHandle<TGdiObjectTraits>;
using TMemoryDC = TUniqueHandle<TMemoryDCTraits>;
using TIcon = TUniqueHandle<TIconTraits>;

// A device context from GetDC or GetWindowDC (null: none), released to the
// window it came from.
class TWindowDC {
public:
    TWindowDC(HWND Window, HDC DC) noexcept : FWindow(Window), FDC(DC) {}
    ~TWindowDC()
    {
        if (FDC != nullptr) ::ReleaseDC(FWindow, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const noexcept { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

// An object selected into a DC for the guard's lifetime.
class TSelectObject {
public:
    TSelectObject(HDC DC, HGDIOBJ Object) noexcept : FDC(DC), FOld(::SelectObject(DC, Object)) {}
    ~TSelectObject() { ::SelectObject(FDC, FOld); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};
